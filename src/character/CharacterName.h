#pragma once
// The local checks of a new character's name, in the order the player meets them, and the capitalised
// form that goes to the server.
#include <cstddef>
#include <string>
#include <string_view>

namespace gr {

// The name box takes at most this many characters: the name becomes part of the per-character macro file
// names ("macros1_" + name + "_3.txt"), which must stay within the safe file-name bound.
constexpr std::size_t kMaxCharacterNameLength = 40;

enum class NameProblem {
    None,
    Empty,             // nothing typed: nothing happens
    InvalidCharacters, // anything but "a" to "z" and "_"
    UnderscoreAtEnd,   // begins or ends with "_"
    OneLetterPiece,    // a piece between underscores (or the whole name) is one letter long
    DoubleUnderscore,  // "__"
};

struct NameCheck {
    NameProblem Problem = NameProblem::None;
    std::string Name; // the lower-cased name, capitalised when it passed
};

// Lower-cases the typed name (ASCII letters only), checks it and, when it passes, capitalises the first
// letter and every letter right after a "_" (dark_knight becomes Dark_Knight).
NameCheck CheckCharacterName(std::string_view typed);

// The message box text for a problem; empty for None and Empty.
std::string_view NameProblemMessage(NameProblem problem);

} // namespace gr
