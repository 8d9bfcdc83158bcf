// Start-up of the login window: remembered settings, folders, the machine records, libbz2, the command
// line, the keyboard focus, and no updater.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "login/ImageButton.h"
#include "support/LodgeFixture.h"

namespace gr::test {
namespace {

class Startup : public LodgeFixture {};

TEST_F(Startup, WithNoSettings) {
    Lodge& w = Make();
    w.Form_Load();
    EXPECT_FALSE(ending.Ended());
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(w.Alternate_Port->isChecked());
    EXPECT_TRUE(w.UserName->text().isEmpty());
    EXPECT_EQ(0, w.ServerChoice->currentIndex());
    EXPECT_EQ(QStringLiteral("20000"), w.SpecialPort->text());
    EXPECT_EQ(QStringLiteral("127.0.0.1"), w.SpecialIP->text());
    EXPECT_EQ(QStringLiteral("B59"), w.VersionRequired->text());
    EXPECT_FALSE(w.Password->hasFocus());
    for (const char* folder : {"gfx", "skins", "sounds", "music"}) EXPECT_TRUE(QDir(QString::fromLatin1(folder)).exists());
    EXPECT_FALSE(QFile::exists(QStringLiteral("autoupdt.exe")));
    EXPECT_TRUE(app->Bzip2.Complete());
    EXPECT_EQ(49, app->Voice.FormatTag);
    EXPECT_DOUBLE_EQ(0.2, app->Voice.Level);
    EXPECT_EQ(-1, app->Session.StartWidth);
    EXPECT_EQ(-1, app->Session.StartHeight);
    EXPECT_EQ(16, app->Machine.MachineIdentifier().size());
    EXPECT_TRUE(w.Login[0]->isVisible());
    EXPECT_FALSE(w.ConStatus->isVisible());
}

TEST_F(Startup, WithRememberedSettings) {
    PresetSetting(QStringLiteral("Port"), QStringLiteral("yes")); // any text switches it on
    PresetSetting(QStringLiteral("ServerChoice"), QStringLiteral("1"));
    PresetSetting(QStringLiteral("UserID"), QStringLiteral("Bob Smith"));
    Lodge& w = Make();
    w.Form_Load();
    EXPECT_TRUE(w.Alternate_Port->isChecked());
    EXPECT_EQ(1, w.ServerChoice->currentIndex());
    EXPECT_EQ(QStringLiteral("143"), w.SpecialPort->text());
    EXPECT_EQ(QStringLiteral("Bob Smith"), w.UserName->text());
}

TEST_F(Startup, UnreadableServerChoiceKeepsTheList) {
    for (const char* stored : {"abc", "7", "-1", ""}) {
        PresetSetting(QStringLiteral("ServerChoice"), QString::fromLatin1(stored));
        Lodge& w = Make();
        w.Form_Load();
        EXPECT_EQ(0, w.ServerChoice->currentIndex()) << stored;
        EXPECT_EQ(QStringLiteral("20000"), w.SpecialPort->text()) << stored;
    }
}

TEST_F(Startup, MachineIdentifierPersists) {
    Make().Form_Load();
    const QString id = app->Machine.MachineIdentifier();
    Make().Form_Load();
    EXPECT_EQ(id, app->Machine.MachineIdentifier());
}

TEST_F(Startup, UnwritableMachineRecordsEndTheApplication) {
    // A folder where the records file should be: it can be neither written nor read back.
    ASSERT_TRUE(QDir(Home.path()).mkpath(QStringLiteral(".machine.ini/x")));
    Lodge& w = Make();
    w.Form_Load();
    ASSERT_EQ(1, dialogs.Shown.size());
    EXPECT_TRUE(dialogs.Shown[0].startsWith(QStringLiteral("Gloamrest can't access the registry\nRegistry access is required")));
    EXPECT_TRUE(ending.Ended());
    EXPECT_FALSE(QDir(QStringLiteral("gfx")).exists());
}

TEST_F(Startup, MissingBzip2LibraryEndsTheApplication) {
    Lodge& w = Make();
    app->Bzip2Library = QStringLiteral("gloamrest-no-such-library");
    w.Form_Load();
    EXPECT_EQ(QStringList{QStringLiteral("Missing File: Libbz2.dll, please reinstall Gloamrest")}, dialogs.Shown);
    EXPECT_TRUE(ending.Ended());
    EXPECT_EQ(0, app->Voice.FormatTag);
}

// Answers one HTTP request with the given body.
class OneShotWebHost {
public:
    explicit OneShotWebHost(QByteArray body) : Body(std::move(body)) {
        EXPECT_TRUE(Server.listen(QHostAddress::LocalHost));
        QObject::connect(&Server, &QTcpServer::newConnection, [this] {
            QTcpSocket* s = Server.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                Request += s->readAll();
                if (!Request.contains("\r\n\r\n")) return;
                s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(Body.size()) +
                         "\r\nConnection: close\r\n\r\n" + Body);
                s->disconnectFromHost();
            });
        });
    }
    QString Host() const { return QStringLiteral("127.0.0.1:%1").arg(Server.serverPort()); }
    QTcpServer Server;
    QByteArray Body;
    QByteArray Request;
};

TEST_F(Startup, NoUpdaterIsFetchedOrRemembered) {
    // A web host that would hand out an updater program: start-up asks it for nothing, writes no file and
    // no "AutoUpdater" setting.
    OneShotWebHost web("MZ\x90\x00program");
    WriteDeployment(QStringLiteral("[Hosts]\nWeb=") + web.Host() + QLatin1Char('\n'));
    Lodge& w = Make();
    w.Form_Load();
    QTest::qWait(100);
    EXPECT_TRUE(web.Request.isEmpty()) << web.Request.toStdString();
    EXPECT_FALSE(QFile::exists(QStringLiteral("autoupdt.exe")));
    QSettings stored(QDir(Home.path()).filePath(QStringLiteral("Gloamrest.ini")), QSettings::IniFormat);
    EXPECT_FALSE(stored.contains(QStringLiteral("Logon/AutoUpdater")));
    EXPECT_FALSE(ending.Ended());
    EXPECT_TRUE(w.isVisible());
}

TEST_F(Startup, CommandLineFillsTheWindowAndLogsIn) {
    // Nothing listens on this loopback address, so the log-in ends with "not found".
    WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.2\nWeb=127.0.0.1:9\n"));
    Lodge& w = Make(QStringLiteral("Bob Smith/pass word/1/Ranger'800'600/Dusk"));
    w.Form_Load();
    EXPECT_EQ(QStringLiteral("Bob Smith"), w.UserName->text());
    EXPECT_EQ(QStringLiteral("pass word"), w.Password->text());
    EXPECT_EQ(1, w.ServerChoice->currentIndex());
    EXPECT_EQ("ranger", app->Session.AutoPlayCharacter);
    EXPECT_EQ(12000, app->Session.StartWidth);
    EXPECT_EQ(9000, app->Session.StartHeight);
    EXPECT_EQ(QStringLiteral("Dusk"), app->GetSetting(QStringLiteral("Skin")));
    // The log-in was tried at once.
    ASSERT_EQ(1, dialogs.Shown.size());
    EXPECT_TRUE(dialogs.Shown[0].startsWith(QStringLiteral("Server could not be found")));
    EXPECT_EQ(QStringLiteral("Server not found"), w.ConStatus->text());
}

TEST_F(Startup, CommandLineWithTwoFieldsStillLogsIn) {
    WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.2\nWeb=127.0.0.1:9\n"));
    PresetSetting(QStringLiteral("UserID"), QStringLiteral("kept"));
    Lodge& w = Make(QStringLiteral("other/pw"));
    w.Form_Load();
    EXPECT_EQ(QStringLiteral("kept"), w.UserName->text());
    EXPECT_EQ(QStringList{QStringLiteral("To login to your account, type the username and password in above, then "
                                         "click again.")},
              dialogs.Shown);
}

} // namespace
} // namespace gr::test
