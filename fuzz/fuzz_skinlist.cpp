// The web host's list of skins through the parser: never a crash, and every skin it keeps names two plain
// files in the skins folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "Targets.h"
#include "skin/SkinList.h"
#include "downloads/WebPaths.h"

namespace {

using gr::fuzz::Check;

bool HasControl(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c | 0x20) : c;
}
std::string Lowered(std::string text) {
    for (char& c : text)
        c = Lower(c);
    return text;
}
} // namespace

int gr::fuzz::SkinList(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto entries = gr::ParseSkinList(text);
    Check(entries.size() <= gr::kMaxSkinListEntries);
    std::set<std::string> seen; // base names, in lower case: no two alike
    for (const gr::SkinListEntry& e : entries) {
        Check(gr::IsSkinBaseName(e.BaseName));
        for (const std::string& file : {gr::SkinFileName(e.BaseName), gr::SkinPictureFileName(e.BaseName)})
            Check(gr::IsSafeLocalFile("skins/" + file));
        for (const std::string& path : {gr::SkinWebPath(e.BaseName), gr::SkinPictureWebPath(e.BaseName)})
            Check(gr::IsSafeWebPath(path));
        Check(!e.Name.empty() && e.Name.size() <= gr::kMaxSkinDisplayNameBytes && !HasControl(e.Name));
        Check(e.Description.size() <= gr::kMaxSkinDescriptionBytes && !HasControl(e.Description));
        Check(seen.insert(Lowered(e.BaseName)).second);
    }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::SkinList)
