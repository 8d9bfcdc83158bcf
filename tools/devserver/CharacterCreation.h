#pragma once
// Character creation on the local server, plain C++ (no Qt): which names may be rolled, the fair roll
// within a race's maximum stats and the classes it allows, and the reading of "AccountNewCrit".
//
// The exchange, client first:
//   "AccountGenerateUser" name       -> "GenerateUserUsernameAccepted" when no account has a character of
//                                       that name (any letter case) and no other connection is rolling it,
//                                       and the name keeps the client's name rules (letters, "_" between
//                                       words of two letters or more, capitalised); otherwise
//                                       "GenerateUserUsernameNotAccepted". The accepted name is held for
//                                       the connection until it finishes, asks for another name or leaves.
//   "AccountRol1" race (0 to 8)      -> "GenerateUser" + the roll below, for that race. Ignored before a
//                                       name is accepted or for a race out of range.
//   "AccountNewCrit" name "/" gender "/" class "/" portrait
//                                    -> the character is made (level 1, the race of the last roll, gender
//                                       "M" Male or "F" Female, the class by its caption, which the last
//                                       roll must allow, portrait 0 to 39) and the account's list gets it:
//                                       "Display" with the account and the new character only, which the
//                                       client adds after the characters it already shows. Anything that
//                                       does not fit is refused with an "AccountMSG" notice.
// During play, "/portrait" and an index 0 to 39 changes the playing character's portrait.
//
// The roll, the text after "GenerateUser":
//   "StatsIn" s0 "/" s1 "/" s2 "/" s3 "/" s4 "/" s5 "/" classes "/" noise "/"
// - s0 to s5: the six rolled values in decimal without leading zeros. Each is drawn uniformly from
//   kLowestStat up to the race's maximum for that stat, every value equally likely, each stat on its own.
// - classes: nine characters, "1" where the roll allows the class and "0" where not, in the order Cleric,
//   Druid, Fighter, Mage, Paladin, Ranger, Thief, Berserker, Pacifist (see ClassAllowed).
// - noise: up to 64 cell numbers of the client's digit picture of the roll (93 columns by 9 rows of
//   squares, cell = row * 93 + column), separated by ",", each flipped when the picture is drawn: a few
//   stray squares, so the picture is not a clean copy of the glyphs. This server sends kNoiseCells of them.
// Example: StatsIn17/12/15/9/18/11/111011101/5,400,836/
// The client's parser (character/StatsIn.h) refuses anything else.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "character/StatsIn.h"

namespace gr {
class RandomSource;
}

namespace gr::dev {

constexpr int kLowestStat = 3;
constexpr int kNoiseCells = 12;

// A roll for race 0 to 8 (clamped).
StatsRoll RollStats(RandomSource& random, int race);
// Whether the stats allow class 0 to 8: each class asks for a least value in one or two stats (the
// Pacifist for none).
bool ClassAllowed(int classIndex, const StatValues& stats);

// Whether the client's name rules give exactly this name (capitalised, letters and "_" only).
bool IsCreatableName(std::string_view name);

struct NewCharacter {
    std::string Name;
    std::string Gender; // "Male" or "Female"
    int Class = 0;      // index into kClassNames
    int Portrait = 0;
};
// The fields of "AccountNewCrit" (the text after it); nullopt when one does not fit.
std::optional<NewCharacter> ParseNewCharacter(std::string_view text);

} // namespace gr::dev
