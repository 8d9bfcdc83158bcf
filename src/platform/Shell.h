#pragma once
// Opening addresses in the system's browser and starting programs. Arguments travel as a list: no shell
// command string is ever built from text the client did not write.
#include <QString>
#include <QStringList>

namespace gr {

class Shell {
public:
    virtual ~Shell() = default;
    virtual bool OpenUrl(const QString& address) = 0;
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
};

class DesktopShell final : public Shell {
public:
    bool OpenUrl(const QString& address) override;
    bool StartProgram(const QString& program, const QStringList& arguments) override;
};

} // namespace gr
