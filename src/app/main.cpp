// Gloamrest: the client of a graphical multi-player text adventure.
#include <QApplication>
#include <QStyleFactory>
#include <QTimer>
#include <string>
#include <vector>

#include "core/App.h"
#include "core/CommandLine.h"
#include "core/DataFolder.h"
#include "core/Random.h"
#include "core/WireText.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "platform/Shell.h"

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Gloamrest"));
    QApplication::setOrganizationName(QStringLiteral("Gloamrest"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false); // the login window hides itself while others are shown

    const QString dataFolder = gr::DataFolderPath();
    gr::EnterDataFolder(dataFolder);

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(gr::ToWire(QString::fromLocal8Bit(argv[i])));
    const std::string line = gr::JoinArguments(arguments);

    gr::MessageBoxDialogs dialogs;
    gr::DesktopShell shell;
    gr::ClockSeededRandom random;
    gr::App* appPtr = nullptr;
    gr::QuitEnding ending([&] {
        if (appPtr) appPtr->FlushSettings();
    });
    gr::App app({dialogs, ending, shell, random}, dataFolder);
    appPtr = &app;

    gr::Lodge lodge(app, gr::FromWire(line));
    // Start-up runs inside the event loop, so that ending the application from it leaves the loop.
    QTimer::singleShot(0, &lodge, &gr::Lodge::Form_Load);
    return QApplication::exec();
}
