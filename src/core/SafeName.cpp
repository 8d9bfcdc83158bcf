#include "core/SafeName.h"

#include <algorithm>

namespace gr {

bool IsSafeFileNamePart(std::string_view name) {
    if (name.empty() || name.size() > kMaxSafeNameBytes || name.find("..") != std::string_view::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || c == ':' || b < 0x20 || b == 0x7F;
    });
}

} // namespace gr
