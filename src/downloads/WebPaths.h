#pragma once
// Names on the game's web host and in the data folder: the web host's address, which paths we ask it for,
// which local files a download may write, and where picture N lives on each side. Everything here decides
// what leaves the client or lands on disk, so it accepts only a narrow, plain alphabet.
#include <optional>
#include <string>
#include <string_view>

namespace gr {

// The web host as "host" or "host:port"; the port is 80 when none is given.
struct WebHost {
    std::string Host;
    int Port = 80;
    bool operator==(const WebHost&) const = default;
};

// The host is letters, digits, "." and "-"; the port, when given, a whole number from 1 to 65535. Nothing
// for anything else (user names, paths, schemes, blanks, an empty host).
std::optional<WebHost> ParseWebHost(std::string_view text);

// A path we may ask the web host for: starts with "/", made of segments of letters, digits, "." "_" "-",
// none of them empty or starting with "." (so no ".."), no query and no escapes; at most kMaxWebPath
// characters.
bool IsSafeWebPath(std::string_view path);
// A file a download may write, relative to the data folder: the same segments without the leading "/",
// at least one folder deep ("gfx/1149.jpg"), so it never names anything outside the data folder nor the
// files at its top.
bool IsSafeLocalFile(std::string_view file);
constexpr std::size_t kMaxWebPath = 200;

// Picture numbers: the server's text of a picture number, when it is only decimal digits (at most four)
// and the number lies from 1000 to 4000; nothing otherwise, so "../x" or "1149.jpg" names no picture.
std::optional<int> ServedPictureNumber(std::string_view text);
bool IsPictureNumber(int number);
// "/grpics/N.jpg" on the web host and "gfx/N.jpg" in the data folder; empty outside 1000 to 4000.
std::string PictureWebPath(int number);
std::string PictureFile(int number);

} // namespace gr
