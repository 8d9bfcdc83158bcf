#pragma once
// Where this installation's servers live: compiled-in defaults that point at the local server, overridden
// by "deployment.ini" in the data folder ([Hosts] Primary, Alternate, Web; [Links] Search, Dictionary,
// Site; [Voice] Port).
#include <QString>

namespace gr {

struct Deployment {
    QString Primary = QStringLiteral("127.0.0.1");
    QString Alternate = QStringLiteral("localhost");
    QString Web = QStringLiteral("127.0.0.1:8080"); // host with an optional port
    QString Search = QStringLiteral("http://127.0.0.1:8080/search?hl=en&q="); // the query follows
    QString Dictionary = QStringLiteral("http://127.0.0.1:8080/browse/");     // the word follows
    QString Site = QStringLiteral("http://127.0.0.1:8080");                   // the game's web site
    // The voice chat's port, for listening and for calling a partner alike. Ports below 1024 need special
    // rights on some systems, so an installation there chooses another one (all its players the same).
    int VoicePort = 111;

    // "http://" + the web host + path.
    QString WebAddress(const QString& path) const { return QStringLiteral("http://") + Web + path; }
    // The web host's name without its port, as the player sees it in titles and messages.
    QString WebHostName() const;
};

Deployment LoadDeployment(const QString& dataFolder);

} // namespace gr
