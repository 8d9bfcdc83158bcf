#include "core/TextFields.h"

namespace gr {

std::vector<std::string_view> SplitFields(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (auto at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
        fields.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    fields.push_back(text.substr(start));
    return fields;
}

std::string_view TextFrom(std::string_view text, std::size_t position) {
    return position - 1 < text.size() ? text.substr(position - 1) : std::string_view();
}

std::string_view TrimBlanks(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace gr
