// The login window against the local server over loopback: the key arrives, the log-in goes out once,
// and the server reads it exactly as typed.
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "devserver/DevServer.h"
#include "login/ImageButton.h"
#include "support/LodgeFixture.h"

namespace gr::test {
namespace {

class LoginEndToEnd : public LodgeFixture {
protected:
    void SetUp() override {
        LodgeFixture::SetUp();
        ASSERT_TRUE(server.listen({0, 0})) << server.errorString().toStdString();
    }
    QString PortText(int which) const { return QString::number(server.ports()[std::size_t(which)]); }

    dev::DevServer server;
};

TEST_F(LoginEndToEnd, ServerReadsTheLogInExactlyAsTyped) {
    struct Case {
        int button;
        QString name, password, pasted; // typed, then pasted at the end of the password
        QByteArray expected;
    };
    const std::vector<Case> cases = {
        {0, QStringLiteral("Bob"), QStringLiteral("hunter22"), QString(), "AccountLoadBob/hunter22"},
        {1, QStringLiteral(" Ann Lee "), QStringLiteral("p/w"), QStringLiteral("\u00e9!"), "AccountAddd Ann Lee /p/w\xe9!"},
    };
    for (const auto& c : cases) {
        QSignalSpy received(&server, &dev::DevServer::messageReceived);
        Lodge& w = Make();
        w.Form_Load();
        w.SpecialPort->setText(PortText(0));
        QTest::keyClicks(w.UserName, c.name);
        QTest::keyClicks(w.Password, c.password);
        w.Password->insert(c.pasted);
        QTest::mouseClick(w.Login[std::size_t(c.button)], Qt::LeftButton);
        ASSERT_TRUE(received.wait(5000) || received.count() > 0);
        ASSERT_EQ(1, received.count());
        EXPECT_EQ(c.expected, received[0][1].toByteArray());
        EXPECT_EQ(server.sessionKey(received[0][0].toInt()), app->Wire.CipherKey);
        EXPECT_EQ(QStringLiteral("Login Info Sent"), w.ConStatus->text());
        QTest::qWait(100);
        EXPECT_EQ(1, received.count()); // sent once
        EXPECT_TRUE(dialogs.Shown.isEmpty());
    }
}

TEST_F(LoginEndToEnd, CommandLineLogsInAtStartUp) {
    QSignalSpy received(&server, &dev::DevServer::messageReceived);
    // The second server's port, through the server choice of the command line.
    WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=127.0.0.1:9\n"));
    Lodge& w = Make(QStringLiteral("Bob Smith/pw 123/1"));
    // Start-up picks port 20001 for the second server; point it at the test server before it connects.
    QObject::connect(w.SpecialPort, &QLineEdit::textChanged, &w, [&](const QString& port) {
        if (port == QLatin1String("20001")) w.SpecialPort->setText(PortText(1));
    });
    w.Form_Load();
    ASSERT_TRUE(received.wait(5000) || received.count() > 0);
    EXPECT_EQ(QByteArray("AccountLoadBob Smith/pw 123"), received[0][1].toByteArray());
}

TEST_F(LoginEndToEnd, CompressedBatchesReachTheQueue) {
    QSignalSpy opened(&server, &dev::DevServer::sessionOpened);
    Lodge& w = Make();
    w.Form_Load();
    w.SpecialPort->setText(PortText(0));
    w.UserName->setText(QStringLiteral("bob"));
    w.Password->setText(QStringLiteral("pw"));
    w.Login_Click(0);
    ASSERT_TRUE(opened.count() > 0 || opened.wait(5000));
    ASSERT_TRUE(WaitFor([&] { return w.ConStatus->text() == QLatin1String("Login Info Sent"); }));
    // The login dispatcher is stopped so the queue can be read as the server filled it.
    w.WorkerEnabled = false;
    std::vector<std::string> batch;
    for (int i = 0; i < 20; ++i) batch.push_back("Line " + std::to_string(i) + std::string(3000, '.'));
    ASSERT_TRUE(server.send(opened[0][0].toInt(), batch, true));
    ASSERT_TRUE(WaitFor([&] { return !app->Wire.InQueue.IsEmpty(19); }));
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(batch[std::size_t(i)] == app->Wire.InQueue.At(i)) << "slot " << i;
}

} // namespace
} // namespace gr::test
