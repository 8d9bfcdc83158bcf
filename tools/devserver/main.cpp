// gloamrest-devserver: the local game server. Keeps accounts in a file (--accounts), runs the demo world
// (asking players "KBA" every --kba-seconds), listens on loopback, prints one line per port, logs what
// clients send (the request's first letters and its length, never its data), serves the game's pictures
// on its web host (--web-port) with one log line per request, and runs until SIGTERM or SIGINT.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <unistd.h>

#include "app/Version.h"
#include "devserver/GameServer.h"
#include "devserver/WebHost.h"

namespace {

// The signal handler may only write to a descriptor; the event loop reads the other end and quits.
int SignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(SignalPipe[0], &byte, 1);
}

bool QuitOnSignals(QCoreApplication& app) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalPipe) != 0) return false;
    auto* notifier = new QSocketNotifier(SignalPipe[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
        notifier->setEnabled(false);
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(SignalPipe[1], &byte, 1);
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

// A request starts with its name in letters; what follows may be a password, so only the first letters are
// logged.
std::string RequestName(std::string_view message) {
    constexpr std::size_t kMaxLogged = 12;
    std::string name;
    for (const char c : message) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!letter || name.size() == kMaxLogged) break;
        name += c;
    }
    return name;
}

bool ParsePort(const QString& text, quint16& port) {
    bool ok = false;
    const uint value = text.toUInt(&ok);
    if (!ok || value > 65535) return false;
    port = quint16(value);
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gloamrest-devserver"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLOAMREST_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The local Gloamrest game server."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Primary port (0: any free one)."),
                                        QStringLiteral("N"), QString::number(gr::dev::kDefaultPort));
    const QCommandLineOption altPortOption(QStringLiteral("alt-port"),
                                           QStringLiteral("Alternate port (0: any free one)."),
                                           QStringLiteral("N"), QString::number(gr::dev::kDefaultAltPort));
    const QCommandLineOption clientVersionOption(
        QStringLiteral("client-version"), QStringLiteral("Client version required, two digits."),
        QStringLiteral("NN"), QString::fromLatin1(gr::dev::kDefaultClientVersion));
    const QCommandLineOption accountsOption(QStringLiteral("accounts"),
                                            QStringLiteral("File that keeps the accounts and characters."),
                                            QStringLiteral("FILE"), QStringLiteral("devserver-accounts.txt"));
    const QCommandLineOption keepAliveOption(
        QStringLiteral("kba-seconds"),
        QStringLiteral("Seconds between keep-alive requests to players (0: none)."), QStringLiteral("S"),
        QString::number(gr::dev::kDefaultKeepAliveMs / 1000));
    const QCommandLineOption webPortOption(
        QStringLiteral("web-port"), QStringLiteral("Web host port for the pictures (0: any free one)."),
        QStringLiteral("N"), QString::number(gr::dev::kDefaultWebPort));
    parser.addOptions(
        {portOption, altPortOption, clientVersionOption, accountsOption, keepAliveOption, webPortOption});
    parser.process(app);

    quint16 port = 0;
    quint16 altPort = 0;
    quint16 webPort = 0;
    if (!ParsePort(parser.value(portOption), port) || !ParsePort(parser.value(altPortOption), altPort) ||
        !ParsePort(parser.value(webPortOption), webPort)) {
        std::fprintf(stderr, "gloamrest-devserver: a port is a number from 0 to 65535\n");
        return 2;
    }
    bool keepAliveOk = false;
    const uint keepAliveSeconds = parser.value(keepAliveOption).toUInt(&keepAliveOk);
    // A day at most: the interval in milliseconds must fit a timer's int.
    if (!keepAliveOk || keepAliveSeconds > 86400) {
        std::fprintf(stderr, "gloamrest-devserver: --kba-seconds takes a number from 0 to 86400\n");
        return 2;
    }
    gr::dev::GameServer server(parser.value(accountsOption));
    server.setKeepAliveInterval(int(keepAliveSeconds) * 1000);
    if (!server.setRequiredVersion(parser.value(clientVersionOption).toStdString())) {
        std::fprintf(stderr, "gloamrest-devserver: --version takes two digits\n");
        return 2;
    }
    gr::dev::LoadReport skipped;
    if (!server.loadAccounts(&skipped)) {
        std::fprintf(stderr, "gloamrest-devserver: %s\n", qPrintable(server.accountsError()));
        return 1;
    }
    const std::size_t skippedLines = skipped.MalformedLines + skipped.LongLines + skipped.Duplicates +
                                     skipped.OrphanLines + skipped.OverBound;
    if (skippedLines != 0) {
        std::fprintf(stderr, "gloamrest-devserver: accounts file: skipped %zu unusable line(s)\n",
                     skippedLines);
    }
    if (!QuitOnSignals(app)) {
        std::perror("gloamrest-devserver: signal handling");
        return 1;
    }
    if (!server.listen({port, altPort})) {
        std::fprintf(stderr, "gloamrest-devserver: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    if (!gr::dev::CanMakePictures()) {
        std::fprintf(stderr,
                     "gloamrest-devserver: this Qt cannot write JPEG (its image format plugin is missing)\n");
        return 1;
    }
    gr::dev::WebHost web;
    if (!web.listen(webPort)) {
        std::fprintf(stderr, "gloamrest-devserver: %s\n", qPrintable(web.errorString()));
        return 1;
    }
    for (const quint16 listening : server.ports())
        std::printf("listening on 127.0.0.1:%u\n", unsigned(listening));
    std::printf("web host on http://127.0.0.1:%u/\n", unsigned(web.port()));
    std::fflush(stdout);
    QObject::connect(&web, &gr::dev::WebHost::served, [](const gr::dev::WebRequest& request) {
        std::printf("web: %s %s %d (%lld bytes)\n", qPrintable(request.Method), qPrintable(request.Target),
                    request.Status, static_cast<long long>(request.BodyBytes));
        std::fflush(stdout);
    });

    QObject::connect(&server, &gr::dev::DevServer::sessionOpened, [](int id) {
        std::printf("session %d: opened\n", id);
        std::fflush(stdout);
    });
    QObject::connect(&server, &gr::dev::DevServer::messageReceived, [](int id, const QByteArray& message) {
        const std::string name =
            RequestName(std::string_view(message.constData(), std::size_t(message.size())));
        std::printf("session %d: %s (%lld bytes)\n", id, name.c_str(),
                    static_cast<long long>(message.size()));
        std::fflush(stdout);
    });
    QObject::connect(&server, &gr::dev::DevServer::sessionClosed, [](int id) {
        std::printf("session %d: closed\n", id);
        std::fflush(stdout);
    });
    return QCoreApplication::exec();
}
