#include "core/Deployment.h"

#include <QDir>
#include <QSettings>

namespace gr {

QString Deployment::WebHostName() const {
    const auto colon = Web.lastIndexOf(QLatin1Char(':'));
    return colon < 0 ? Web : Web.left(colon);
}

Deployment LoadDeployment(const QString& dataFolder) {
    Deployment d;
    const QSettings ini(QDir(dataFolder).filePath(QStringLiteral("deployment.ini")), QSettings::IniFormat);
    auto read = [&](const char* key, QString& value) {
        const QString v = ini.value(QLatin1String(key)).toString().trimmed();
        if (!v.isEmpty()) value = v;
    };
    read("Hosts/Primary", d.Primary);
    read("Hosts/Alternate", d.Alternate);
    read("Hosts/Web", d.Web);
    read("Links/Search", d.Search);
    read("Links/Dictionary", d.Dictionary);
    read("Links/Site", d.Site);
    // A port that is not a whole number from 1 to 65535 is ignored.
    bool ok = false;
    const int port = ini.value(QStringLiteral("Voice/Port")).toString().trimmed().toInt(&ok);
    if (ok && port >= 1 && port <= 65535) d.VoicePort = port;
    return d;
}

} // namespace gr
