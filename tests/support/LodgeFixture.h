#pragma once
// A login window on a fresh data folder with fake dialogs, ending and shell, as each window test needs.
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>

#include "app/App.h"
#include "core/Bzip2Api.h"
#include "login/Lodge.h"
#include "support/Fakes.h"
#include "support/Peer.h"

namespace gr::test {

class LodgeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(Home.isValid());
        qputenv("GLOAMREST_HOME", Home.path().toLocal8Bit());
        QDir::setCurrent(Home.path());
        // Nothing listens on the web host's port.
        WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=127.0.0.1:9\n"));
    }
    void TearDown() override {
        lodge.reset();
        app.reset();
        qunsetenv("GLOAMREST_HOME");
    }

    void WriteDeployment(const QString& text) {
        QFile f(QDir(Home.path()).filePath(QStringLiteral("deployment.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
    // A deployment whose voice port is a free one (the web host answers nothing); returns the port. The
    // deployment is read when the application starts, so this comes before.
    int WriteVoiceDeployment() {
        QTcpServer probe;
        probe.listen(QHostAddress::AnyIPv4);
        const int port = probe.serverPort();
        probe.close();
        WriteDeployment(
            QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=127.0.0.1:9\n[Voice]\nPort=%1\n").arg(port));
        return port;
    }
    // Every file below the data folder, by its path relative to it ("gfx/1500.jpg").
    std::set<QString> DataFiles() const {
        std::set<QString> files;
        QDirIterator it(Home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.insert(QDir(Home.path()).relativeFilePath(it.next()));
        return files;
    }
    // Settings as a previous run left them, written before the window is made.
    void PresetSetting(const QString& key, const QString& value) {
        QSettings s(QDir(Home.path()).filePath(QStringLiteral("Gloamrest.ini")), QSettings::IniFormat);
        s.setValue(QStringLiteral("Logon/") + key, value);
    }

    // Makes the window; start-up runs only when asked.
    Lodge& Make(const QString& commandLine = QString()) {
        lodge.reset();
        app = std::make_unique<App>(Platform{dialogs, ending, shell, random}, Home.path());
        app->Bzip2 = Bzip2Api::Linked();
        lodge = std::make_unique<Lodge>(*app, commandLine);
        lodge->ConnectWaitMs = 3000;
        return *lodge;
    }

    // A window logged in to the peer as bob/pw: connected, the key arrived, the log-in went out (and was
    // taken off the peer's record).
    Lodge& LoggedIn(Peer& peer, const std::string& key) {
        Lodge& w = Make();
        w.Form_Load();
        w.SpecialPort->setText(QString::number(peer.Server.serverPort()));
        w.UserName->setText(QStringLiteral("bob"));
        w.Password->setText(QStringLiteral("pw"));
        w.Login_Click(0);
        EXPECT_TRUE(WaitFor([&] { return peer.Socket != nullptr; }));
        peer.Send("KEYCODE 59" + key + "{[}]");
        EXPECT_TRUE(WaitFor([&] { return !peer.Received.empty(); }));
        peer.Received.clear();
        return w;
    }

    // Runs the event loop until the condition holds or the time is up.
    static bool WaitFor(const std::function<bool()>& condition, int ms = 5000) {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > ms) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

    QTemporaryDir Home;
    FakeDialogs dialogs;
    FakeEnding ending;
    FakeShell shell;
    ScriptedRandom random{{5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}};
    std::unique_ptr<App> app;
    std::unique_ptr<Lodge> lodge;
};

} // namespace gr::test
