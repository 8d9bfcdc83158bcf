#include "core/DataFolder.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace gr {

QString DataFolderPath() {
    const QString home = qEnvironmentVariable("GLOAMREST_HOME");
    if (!home.isEmpty()) return QDir(home).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

bool EnterDataFolder(const QString& path) { return QDir().mkpath(path) && QDir::setCurrent(path); }

std::unique_ptr<QSettings> OpenSettingsStore(const QString& dataFolder) {
    if (!qEnvironmentVariableIsEmpty("GLOAMREST_HOME"))
        return std::make_unique<QSettings>(QDir(dataFolder).filePath(QStringLiteral("Gloamrest.ini")),
                                           QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Gloamrest"),
                                       QStringLiteral("Gloamrest"));
}

QString MachineStorePath(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral(".machine.ini"));
}

} // namespace gr
