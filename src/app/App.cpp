#include "app/App.h"

#include <QSettings>

#include "core/Bzip2Library.h"
#include "core/DataFolder.h"
#include "sound/SdlMedia.h"
#include "downloads/Downloads.h"
#include "downloads/PictureStore.h"

namespace gr {

namespace {
QString LogonKey(const QString& key) { return QStringLiteral("Logon/") + key; }
} // namespace

App::App(Platform platform_, const QString& dataFolder)
    : platform(platform_), DataFolder(dataFolder), Deployment(LoadDeployment(dataFolder)),
      Machine(MachineStorePath(dataFolder)), Bzip2Library(kBzip2LibraryName),
      Settings(OpenSettingsStore(dataFolder)) {}

App::~App() = default;

QString App::GetSetting(const QString& key, const QString& def) const {
    const QVariant value = Settings->value(LogonKey(key));
    return value.isValid() ? value.toString() : def;
}

void App::SaveSetting(const QString& key, const QString& value) { Settings->setValue(LogonKey(key), value); }

void App::RemoveSetting(const QString& key) { Settings->remove(LogonKey(key)); }

void App::FlushSettings() { Settings->sync(); }

Downloads& App::Downloader() {
    if (!DownloadService) DownloadService = std::make_unique<gr::Downloads>(Deployment.Web, DataFolder);
    return *DownloadService;
}

Media& App::Audio() {
    if (!AudioDevice) AudioDevice = std::make_unique<SdlMedia>();
    return *AudioDevice;
}

PictureStore& App::Pictures() {
    if (!PictureCache) PictureCache = std::make_unique<PictureStore>(Downloader(), DataFolder);
    return *PictureCache;
}

} // namespace gr
