#include "devserver/CharacterCreation.h"

#include <algorithm>

#include "character/CharacterName.h"
#include "core/Random.h"

namespace gr::dev {

namespace {
struct Need {
    int Stat;
    int Least;
};
// The least values each class asks for, by class index; a stat of -1 ends the list.
constexpr std::array<std::array<Need, 2>, kClassCount> kClassNeeds = {{
    {{{4, 9}, {-1, 0}}},  // Cleric
    {{{4, 10}, {5, 8}}},  // Druid
    {{{0, 9}, {-1, 0}}},  // Fighter
    {{{3, 10}, {-1, 0}}}, // Mage
    {{{0, 12}, {5, 12}}}, // Paladin
    {{{1, 11}, {2, 10}}}, // Ranger
    {{{1, 10}, {-1, 0}}}, // Thief
    {{{0, 13}, {2, 11}}}, // Berserker
    {{{-1, 0}, {-1, 0}}}, // Pacifist
}};

std::optional<int> SmallNumber(std::string_view text) {
    if (text.empty() || text.size() > 2 || (text.size() == 2 && text[0] == '0')) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}
} // namespace

bool ClassAllowed(int classIndex, const StatValues& stats) {
    if (classIndex < 0 || classIndex >= kClassCount) return false;
    for (const Need& need : kClassNeeds[std::size_t(classIndex)])
        if (need.Stat >= 0 && stats[std::size_t(need.Stat)] < need.Least) return false;
    return true;
}

StatsRoll RollStats(RandomSource& random, int race) {
    race = std::clamp(race, 0, kRaceCount - 1);
    StatsRoll roll;
    for (int i = 0; i < kStatCount; ++i)
        roll.Stats[std::size_t(i)] =
            random.Between(kLowestStat, kMaxStats[std::size_t(race)][std::size_t(i)]);
    for (int c = 0; c < kClassCount; ++c)
        roll.Classes[std::size_t(c)] = ClassAllowed(c, roll.Stats);
    for (int i = 0; i < kNoiseCells; ++i)
        roll.Noise.push_back(random.Between(0, kStatsPictureCells - 1));
    return roll;
}

bool IsCreatableName(std::string_view name) {
    if (name.size() > kMaxCharacterNameLength) return false;
    const NameCheck check = CheckCharacterName(name);
    return check.Problem == NameProblem::None && check.Name == name;
}

std::optional<NewCharacter> ParseNewCharacter(std::string_view text) {
    std::array<std::string_view, 4> fields;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t slash = text.find('/');
        if ((slash == std::string_view::npos) != (i == fields.size() - 1)) return std::nullopt;
        fields[i] = text.substr(0, slash);
        if (slash != std::string_view::npos) text.remove_prefix(slash + 1);
    }
    NewCharacter made;
    if (!IsCreatableName(fields[0])) return std::nullopt;
    made.Name = std::string(fields[0]);
    if (fields[1] == "M")
        made.Gender = "Male";
    else if (fields[1] == "F")
        made.Gender = "Female";
    else
        return std::nullopt;
    const auto cls = std::find(kClassNames.begin(), kClassNames.end(), fields[2]);
    if (cls == kClassNames.end()) return std::nullopt;
    made.Class = int(cls - kClassNames.begin());
    const auto portrait = SmallNumber(fields[3]);
    if (!portrait || *portrait >= kPortraitCount) return std::nullopt;
    made.Portrait = *portrait;
    return made;
}

} // namespace gr::dev
