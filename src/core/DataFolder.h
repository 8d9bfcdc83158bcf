#pragma once
// The data folder: GLOAMREST_HOME when set, the per-user data location otherwise. The client creates it
// and works inside it, so "gfx", "skins", "sounds", "music" and macro files are relative to it.
#include <QString>
#include <memory>

class QSettings;

namespace gr {

QString DataFolderPath();
// Creates the folder and makes it the working folder. False when that fails.
bool EnterDataFolder(const QString& path);
// The settings store: an INI file inside the data folder when GLOAMREST_HOME is set, the platform's
// native store otherwise.
std::unique_ptr<QSettings> OpenSettingsStore(const QString& dataFolder);
// The hidden file of the machine's own records.
QString MachineStorePath(const QString& dataFolder);

} // namespace gr
