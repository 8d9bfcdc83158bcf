#include "core/OutgoingText.h"

namespace gr {

void RemoveTerminators(std::string& text) {
    for (auto at = text.find(kMessageTerminator); at != std::string::npos;) {
        text.erase(at, kMessageTerminator.size());
        // The "%" before the gap and the "$" after it may now stand together.
        at = text.find(kMessageTerminator, at == 0 ? 0 : at - 1);
    }
}

std::string WithoutTerminators(std::string_view text) {
    std::string out(text);
    RemoveTerminators(out);
    return out;
}

std::string Echo(std::string_view serverText) {
    return WithoutTerminators(serverText.substr(0, kMaxEchoBytes));
}

} // namespace gr
