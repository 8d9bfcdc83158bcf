#include "core/BoundText.h"

namespace gr {

std::string BoundText(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) return std::string(text);
    std::string cut(text.substr(0, limit));
    cut += kCutMark;
    return cut;
}

} // namespace gr
