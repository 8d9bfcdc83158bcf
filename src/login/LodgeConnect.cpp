// The login window's connection: connecting and logging in, sending, receiving, the server's closing.
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QTcpSocket>
#include <QTimer>

#include "app/App.h"
#include "core/Cipher.h"
#include "core/Numbers.h"
#include "core/OutgoingText.h"
#include "core/RunTimeError.h"
#include "core/WireText.h"
#include "login/AniPics.h"
#include "login/ImageButton.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"

namespace gr {

const QString Lodge::ResolutionMessage = QStringLiteral(
    "Your computer is set to a resolution of 640x480, please increase it to at least 800x600 in the display "
    "control panel for optimal game playing.");

void Lodge::Login_Click(int index) { ConnectAndLogin(index); }

void Lodge::Logon_Click() { ConnectAndLogin(0); }

void Lodge::ResetLoginDisplay() {
    Connecting->hide();
    ConnectingTimer->stop();
    ConStatus->hide();
    Login[0]->show();
    Login[1]->show();
    PendingAction = 0;
}

void Lodge::ConnectAndLogin(int mode) {
    if (Ended() || Waiting) return;
    Dialogs& dialogs = app.platform.dialogs;
    if (app.Machine.HasBanRecord()) {
        dialogs.Message(QStringLiteral("This machine has been banned, you must have been pretty bad to deserve this."));
        app.platform.ending.End();
        return;
    }
    if (UserName->text().isEmpty() || Password->text().isEmpty()) {
        dialogs.Message(mode == 1 ? QStringLiteral("To create an account type the username and password you want "
                                                   "above, then click again.")
                                  : QStringLiteral("To login to your account, type the username and password in "
                                                   "above, then click again."));
        return;
    }
    Login[0]->hide();
    Login[1]->hide();
    LoginTimer->stop();
    CreateAccountTimer->stop();
    ConnectingFrame = 0;
    Connecting->setPixmap(AniPics::Get().ConnectingAni.front());
    Connecting->show();
    ConnectingTimer->start();
    ConStatus->show();

    if (ComlineConnected()) {
        if (mode == 0 && ScreenIs640x480()) dialogs.Message(ResolutionMessage);
        if (Ended()) return;
        const std::string keyword = mode == 1 ? "AccountAddd" : "AccountLoad";
        if (!SendToServer(keyword + ToWire(UserName->text()) + "/" + ToWire(Password->text()))) return;
        ConStatus->setText(QStringLiteral("Login Info Sent"));
        return;
    }

    PendingAction = mode + 1;
    CloseComline();
    const auto port = WholeNumber(ToWire(SpecialPort->text()));
    ConStatus->setText(QStringLiteral("Connecting to Server"));
    if (port && *port > 0 && *port < 65536) {
        Comline->connectToHost(SpecialIP->text(), static_cast<quint16>(*port));
        // Wait for the connection with the event loop running, so that socket events, timers and the
        // dispatcher go on meanwhile. A refused or unknown host ends the wait at once.
        QEventLoop loop;
        QTimer limit;
        limit.setSingleShot(true);
        connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        connect(Comline, &QTcpSocket::connected, &loop, &QEventLoop::quit);
        connect(Comline, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
        limit.start(ConnectWaitMs);
        Waiting = true;
        if (Comline->state() != QAbstractSocket::UnconnectedState) loop.exec();
        Waiting = false;
        if (Ended()) return;
    }
    if (ComlineConnected()) {
        // The log-in itself goes out when the server's key arrives.
        if (ConStatus->text() == QLatin1String("Connecting to Server"))
            ConStatus->setText(QStringLiteral("Connection Established"));
        return;
    }
    dialogs.Message(QStringLiteral("Server could not be found, try clicking 'Alternate DNS/Port' on the options "
                                   "menu, or try again shortly."));
    if (Ended()) return;
    ResetLoginDisplay();
    ConStatus->setText(QStringLiteral("Server not found"));
    CloseComline();
}

bool Lodge::ComlineConnected() const { return Comline->state() == QAbstractSocket::ConnectedState; }

void Lodge::CloseComline() {
    const QSignalBlocker quiet(Comline);
    if (Comline->state() == QAbstractSocket::ConnectedState) {
        // What was sent is delivered before the connection goes (the answer just before "OFFLINE", say):
        // the socket writes what it still holds, then closes; a peer that does not read is given up on.
        Comline->disconnectFromHost();
        if (Comline->state() != QAbstractSocket::UnconnectedState) Comline->waitForDisconnected(CloseWaitMs);
    }
    Comline->abort();
    // The key and any unfinished batch belonged to that connection: the next one starts clean, and sends
    // nothing before its own "KEYCODE".
    app.Wire.CipherKey.clear();
    Receiver.Reset();
}

bool Lodge::SendToServer(const std::string& message) {
    if (Ended()) return false;
    if (!ComlineConnected()) {
        app.platform.dialogs.Message(QStringLiteral("Not connected, can't send data."));
        app.platform.ending.End();
        return false;
    }
    WireState& wire = app.Wire;
    if (wire.CipherKey.empty()) {
        CloseComline();
        Connecting->hide();
        ConnectingTimer->stop();
        ConStatus->hide();
        Login[0]->show();
        Login[1]->show();
        return false;
    }
    // Whatever a player typed reaches this point on one path or another (chat, account dialogs, names,
    // macros); only a sysop may send a terminator inside a message.
    std::string bytes = EncipherForWire(wire.Tables, wire.CipherKey,
                                        app.Session.SysopMode ? message : WithoutTerminators(message),
                                        app.platform.random);
    bytes += "%$";
    Comline->write(bytes.data(), static_cast<qint64>(bytes.size()));
    return true;
}

void Lodge::Comline_DataArrival() {
    if (Ended()) return;
    const QByteArray received = Comline->readAll();
    InQueue& queue = app.Wire.InQueue;
    try {
        // Once the queue refuses a message, the rest of what arrived cannot enter either: it is abandoned
        // rather than decompressed for nothing (a few kilobytes of chunks can expand to gigabytes).
        Receiver.Feed(std::string_view(received.constData(), std::size_t(received.size())), [&](std::string_view message) {
            if (!queue.Put(message)) throw RunTimeError("receive queue full");
        });
    } catch (const std::exception&) {
        // A failure abandons the rest of the batch; what was queued stays queued.
    }
    if (queue.HasMessages()) emit messagesQueued();
}

void Lodge::Comline_Close() {
    if (Ended()) return;
    // Whatever arrived before the close is still handled.
    if (Comline->bytesAvailable() > 0) Comline_DataArrival();
    app.platform.dialogs.Message(app.Wire.CharacterDeleted == 1 ? QStringLiteral("Your character has been deleted.")
                                                                : QStringLiteral("Connection dropped by remote host."));
    app.platform.ending.End();
}

} // namespace gr
