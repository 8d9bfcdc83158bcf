#pragma once
// Test stand-ins for the platform: scripted dialog answers, a recorded ending, a recorded shell (and the
// scripted random draws of ScriptedRandom.h).
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "platform/Shell.h"
#include "support/ScriptedRandom.h"

namespace gr::test {

class FakeDialogs final : public Dialogs {
public:
    QStringList Shown;
    std::deque<bool> Answers; // Yes = true, in the order the questions come

protected:
    void ShowMessage(const QString& text) override { Shown.push_back(text); }
    bool ShowQuestion(const QString& text) override {
        Shown.push_back(text);
        if (Answers.empty()) return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
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

} // namespace gr::test
