// The local name checks, in their order, and the capitalised name that goes to the server.
#include <gtest/gtest.h>

#include "character/CharacterName.h"

namespace gr {
namespace {

TEST(CharacterName, ChecksInOrderAndCapitalises) {
    struct Case {
        std::string typed;
        NameProblem problem;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"dark_knight", NameProblem::None, "Dark_Knight"},
        {"DARK_KNIGHT", NameProblem::None, "Dark_Knight"},
        {"bo", NameProblem::None, "Bo"},
        {"ann_of_the_sea", NameProblem::None, "Ann_Of_The_Sea"},
        {"", NameProblem::Empty, ""},
        {"dark knight", NameProblem::InvalidCharacters, "dark knight"},
        {"dark-knight", NameProblem::InvalidCharacters, "dark-knight"},
        {"bob2", NameProblem::InvalidCharacters, "bob2"},
        {"j\xe9r\xf4me", NameProblem::InvalidCharacters, "j\xe9r\xf4me"}, // not a letter "a" to "z"
        // The character test comes first: a "_" at the end does not hide a space.
        {"_a b", NameProblem::InvalidCharacters, "_a b"},
        {"_bob", NameProblem::UnderscoreAtEnd, "_bob"},
        {"bob_", NameProblem::UnderscoreAtEnd, "bob_"},
        {"_", NameProblem::UnderscoreAtEnd, "_"},
        // Begin/end comes before one letter: "_a" is about the underscore.
        {"_a", NameProblem::UnderscoreAtEnd, "_a"},
        {"a_bob", NameProblem::OneLetterPiece, "a_bob"},
        {"bob_a", NameProblem::OneLetterPiece, "bob_a"},
        {"bob_x_smith", NameProblem::OneLetterPiece, "bob_x_smith"},
        {"x", NameProblem::OneLetterPiece, "x"},
        {"X", NameProblem::OneLetterPiece, "x"},
        {"bob__smith", NameProblem::DoubleUnderscore, "bob__smith"},
        // One letter is found before the double underscore when both are there.
        {"a__bob", NameProblem::OneLetterPiece, "a__bob"},
    };
    for (const Case& c : cases) {
        const NameCheck check = CheckCharacterName(c.typed);
        EXPECT_EQ(c.problem, check.Problem) << c.typed;
        EXPECT_EQ(c.name, check.Name) << c.typed;
    }
}

TEST(CharacterName, MessagesAreTheGamesOwn) {
    EXPECT_EQ("Your name contains invalid characters, use letters and _ (between words) only.",
              NameProblemMessage(NameProblem::InvalidCharacters));
    EXPECT_EQ("Your name can't begin or end with a _.", NameProblemMessage(NameProblem::UnderscoreAtEnd));
    EXPECT_EQ("You can't have 1 letter inbetween underscores.",
              NameProblemMessage(NameProblem::OneLetterPiece));
    EXPECT_EQ("You can't have 2 underscores in a row.", NameProblemMessage(NameProblem::DoubleUnderscore));
    EXPECT_TRUE(NameProblemMessage(NameProblem::None).empty());
    EXPECT_TRUE(NameProblemMessage(NameProblem::Empty).empty());
}

} // namespace
} // namespace gr
