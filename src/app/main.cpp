// Gloamrest: the client of a graphical multi-player text adventure.
#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Version.h"

#include "app/App.h"
#include "core/CommandLine.h"
#include "core/DataFolder.h"
#include "app/ProgramOptions.h"
#include "core/Random.h"
#include "core/WireText.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "platform/Shell.h"

int main(int argc, char* argv[]) {
    // Answered on the terminal before anything needs a display.
    const gr::ProgramOptions options = gr::ReadProgramOptions(std::vector<std::string>(argv + 1, argv + argc),
                                                              "gloamrest", GLOAMREST_VERSION);
    if (options.What != gr::ProgramOptions::Action::Play) {
        const bool mistake = options.What == gr::ProgramOptions::Action::Mistake;
        std::fputs(options.Text.c_str(), mistake ? stderr : stdout);
        return mistake ? 2 : 0;
    }

    QApplication qapp(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(GLOAMREST_VERSION));
    // The installed desktop entry and icon: the desktop shows the windows under the game's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("net.gloamrest.Gloamrest"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("gloamrest")));
    QApplication::setApplicationName(QStringLiteral("Gloamrest"));
    QApplication::setOrganizationName(QStringLiteral("Gloamrest"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setQuitOnLastWindowClosed(false); // the login window hides itself while others are shown

    const QString dataFolder = gr::DataFolderPath();
    gr::EnterDataFolder(dataFolder);

    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(gr::ToWire(QString::fromLocal8Bit(argv[i])));
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
