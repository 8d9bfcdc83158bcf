#include "platform/Shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace gr {

bool DesktopShell::OpenUrl(const QString& address) {
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

bool DesktopShell::StartProgram(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
}

} // namespace gr
