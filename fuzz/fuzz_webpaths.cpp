// The web host's address from the deployment file, and every path and file name a download may use,
// through the checks that decide what leaves the client and what lands on disk: what they accept is made
// only of the plain alphabet, never climbs out of its folder, and stays within its bounds.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Targets.h"
#include "downloads/WebPaths.h"

namespace {

using gr::fuzz::Check;

bool Plain(char c, std::string_view more) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           more.find(c) != std::string_view::npos;
}

// Segments between "/" of letters, digits, "." "_" "-", none empty and none starting with ".".
bool PlainSegments(std::string_view text) {
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(text.find('/', start), text.size());
        const std::string_view segment = text.substr(start, end - start);
        if (segment.empty() || segment.front() == '.') return false;
        for (char c : segment)
            if (!Plain(c, "._-")) return false;
        if (end == text.size()) return true;
        start = end + 1;
    }
}

} // namespace

int gr::fuzz::WebPaths(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto host = gr::ParseWebHost(text)) {
        Check(!host->Host.empty() && host->Port >= 1 && host->Port <= 65535);
        for (char c : host->Host)
            Check(Plain(c, ".-"));
    }
    if (gr::IsSafeWebPath(text))
        Check(text.size() <= gr::kMaxWebPath && text.starts_with('/') && PlainSegments(text.substr(1)));
    if (gr::IsSafeLocalFile(text))
        Check(text.find('/') != std::string_view::npos && PlainSegments(text));
    if (const auto number = gr::ServedPictureNumber(text)) {
        Check(gr::IsPictureNumber(*number) && text.size() <= 4);
        Check(gr::IsSafeWebPath(gr::PictureWebPath(*number)) && gr::IsSafeLocalFile(gr::PictureFile(*number)));
    }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::WebPaths)
