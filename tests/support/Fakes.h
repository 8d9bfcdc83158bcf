#pragma once
// Test stand-ins for the platform: scripted dialog answers, a recorded ending, a recorded shell and
// scripted random draws.
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "core/Random.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "platform/Shell.h"

namespace gr::test {

class FakeDialogs final : public Dialogs {
public:
    void Message(const QString& text) override { Shown.push_back(text); }
    bool Ask(const QString& text) override {
        Shown.push_back(text);
        if (Answers.empty()) return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    QStringList Shown;
    std::deque<bool> Answers; // Yes = true, in the order the questions come
};

class FakeEnding final : public Ending {
protected:
    void Finish() override {}
};

class FakeShell final : public Shell {
public:
    bool OpenUrl(const QString& address) override {
        Opened.push_back(address);
        return true;
    }
    bool StartProgram(const QString& program, const QStringList& arguments) override {
        Started.push_back(program + QLatin1Char('|') + arguments.join(QLatin1Char('|')));
        return true;
    }
    QStringList Opened;
    QStringList Started;
};

// Draws the scripted values in turn (then repeats the last), clamped to the asked range.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<int> values = {7}) : Values(std::move(values)) {}
    int Between(int lo, int hi) override {
        const int v = Values[Next < Values.size() ? Next++ : Values.size() - 1];
        return v < lo ? lo : (v > hi ? hi : v);
    }

private:
    std::vector<int> Values;
    std::size_t Next = 0;
};

} // namespace gr::test
