#pragma once
// Test stand-ins for the platform: scripted dialog answers, a recorded ending, a recorded shell, recorded
// media commands (and the scripted random draws of ScriptedRandom.h).
#include <QString>
#include <QFileInfo>
#include <QStringList>
#include <deque>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "platform/Media.h"
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

// Records each media command as the alias's command string ("stop sound", "open midi music/town.mid",
// "play midi"); files are named relative to Folder. Open fails for a file that does not exist.
class FakeMedia final : public Media {
public:
    explicit FakeMedia(QString folder) : Folder(std::move(folder)) {}
    bool Open(MediaAlias alias, const QString& file) override {
        const QString name = file.startsWith(Folder + QLatin1Char('/')) ? file.mid(Folder.size() + 1) : file;
        Commands.push_back(QStringLiteral("open ") + Alias(alias) + QLatin1Char(' ') + name);
        return QFileInfo::exists(file);
    }
    void Play(MediaAlias alias) override {
        Commands.push_back(QStringLiteral("play ") + Alias(alias));
        Playing[int(alias)] = true;
    }
    void Stop(MediaAlias alias) override {
        Commands.push_back(QStringLiteral("stop ") + Alias(alias));
        Playing[int(alias)] = false;
    }
    void Close(MediaAlias alias) override { Commands.push_back(QStringLiteral("close ") + Alias(alias)); }
    bool IsPlaying(MediaAlias alias) const override { return Playing[int(alias)]; }
    void SetVolume(MediaAlias alias, int percent) override { Volume[int(alias)] = percent; }
    QString Problem() const override { return Trouble; }

    static QString Alias(MediaAlias alias) {
        return alias == MediaAlias::Sound ? QStringLiteral("sound") : QStringLiteral("midi");
    }
    QString Folder;
    QStringList Commands;
    bool Playing[2] = {false, false};
    int Volume[2] = {-1, -1};
    QString Trouble;
};

} // namespace gr::test
