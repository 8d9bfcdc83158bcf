#include "downloads/WebPaths.h"

#include <charconv>

namespace gr {

namespace {

constexpr int kFirstPicture = 1000;
constexpr int kLastPicture = 4000;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetterOrDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Segments joined by "/", each of letters, digits, "." "_" "-", none empty and none starting with "." (so
// neither "." nor ".." nor a hidden file).
bool IsPlainSegments(std::string_view text) {
    if (text.empty() || text.size() > kMaxWebPath) return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = text.find('/', start);
        const std::string_view segment =
            text.substr(start, slash == std::string_view::npos ? slash : slash - start);
        if (segment.empty() || segment.front() == '.') return false;
        for (char c : segment)
            if (!IsLetterOrDigit(c) && c != '.' && c != '_' && c != '-') return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

} // namespace

std::optional<WebHost> ParseWebHost(std::string_view text) {
    WebHost out;
    const std::size_t colon = text.find(':');
    std::string_view host = text.substr(0, colon);
    if (colon != std::string_view::npos) {
        const std::string_view port = text.substr(colon + 1);
        if (port.empty() || port.size() > 5) return std::nullopt;
        for (char c : port)
            if (!IsDigit(c)) return std::nullopt;
        int value = 0;
        std::from_chars(port.data(), port.data() + port.size(), value);
        if (value < 1 || value > 65535) return std::nullopt;
        out.Port = value;
    }
    if (host.empty() || host.size() > 253) return std::nullopt;
    for (char c : host)
        if (!IsLetterOrDigit(c) && c != '.' && c != '-') return std::nullopt;
    out.Host = std::string(host);
    return out;
}

bool IsSafeWebPath(std::string_view path) {
    return path.size() > 1 && path.size() <= kMaxWebPath && path.front() == '/' &&
           IsPlainSegments(path.substr(1));
}

bool IsSafeLocalFile(std::string_view file) {
    // Always inside a folder of its own, so no download can replace the settings or deployment files
    // that sit at the top of the data folder.
    return file.find('/') != std::string_view::npos && IsPlainSegments(file);
}

std::optional<int> ServedPictureNumber(std::string_view text) {
    if (text.empty() || text.size() > 4) return std::nullopt;
    for (char c : text)
        if (!IsDigit(c)) return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (!IsPictureNumber(value)) return std::nullopt;
    return value;
}

bool IsPictureNumber(int number) {
    return number >= kFirstPicture && number <= kLastPicture;
}

std::string PictureWebPath(int number) {
    return IsPictureNumber(number) ? "/grpics/" + std::to_string(number) + ".jpg" : std::string();
}

std::string PictureFile(int number) {
    return IsPictureNumber(number) ? "gfx/" + std::to_string(number) + ".jpg" : std::string();
}

} // namespace gr
