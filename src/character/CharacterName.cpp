#include "character/CharacterName.h"

namespace gr {

namespace {
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

NameProblem Problem(const std::string& name) {
    if (name.empty()) return NameProblem::Empty;
    for (char c : name)
        if (!((c >= 'a' && c <= 'z') || c == '_')) return NameProblem::InvalidCharacters;
    if (name.front() == '_' || name.back() == '_') return NameProblem::UnderscoreAtEnd;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find('_', start);
        if (end == std::string::npos) end = name.size();
        if (end - start == 1) return NameProblem::OneLetterPiece;
        start = end + 1;
    }
    if (name.find("__") != std::string::npos) return NameProblem::DoubleUnderscore;
    return NameProblem::None;
}
} // namespace

NameCheck CheckCharacterName(std::string_view typed) {
    NameCheck check;
    check.Name.reserve(typed.size());
    for (char c : typed)
        check.Name.push_back(Lower(c));
    check.Problem = Problem(check.Name);
    if (check.Problem != NameProblem::None) return check;
    for (std::size_t i = 0; i < check.Name.size(); ++i)
        if (i == 0 || check.Name[i - 1] == '_') check.Name[i] = Upper(check.Name[i]);
    return check;
}

std::string_view NameProblemMessage(NameProblem problem) {
    switch (problem) {
    case NameProblem::InvalidCharacters:
        return "Your name contains invalid characters, use letters and _ (between words) only.";
    case NameProblem::UnderscoreAtEnd:
        return "Your name can't begin or end with a _.";
    case NameProblem::OneLetterPiece:
        return "You can't have 1 letter inbetween underscores.";
    case NameProblem::DoubleUnderscore:
        return "You can't have 2 underscores in a row.";
    case NameProblem::None:
    case NameProblem::Empty:
        break;
    }
    return {};
}

} // namespace gr
