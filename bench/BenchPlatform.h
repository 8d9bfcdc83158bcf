#pragma once
// Platform stand-ins for the benchmarks: no dialogs, no ending, no browser or programs.
#include <QString>
#include <QStringList>

#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "platform/Shell.h"

namespace gr::bench {

class NoShell final : public Shell {
  public:
    bool OpenUrl(const QString&) override { return true; }
    bool StartProgram(const QString&, const QStringList&) override { return true; }
};

class NoDialogs final : public Dialogs {
  public:
    void ShowMessage(const QString&) override {}
    bool ShowQuestion(const QString&) override { return false; }
};

class NoEnding final : public Ending {
  protected:
    void Finish() override {}
};

} // namespace gr::bench
