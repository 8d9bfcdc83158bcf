// The account manager as a player meets it: the keyboard (typed through whatever has the focus), the
// account dialogs, what a screen reader finds, and the answers that give controls back.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "login/AccountDialogs.h"
#include "login/AccountDisplay.h"
#include "support/Accessibility.h"
#include "support/LodgeFixture.h"
#include "support/Peer.h"

namespace gr::test {
namespace {

const std::string kKey = "k3y";
const std::string kThree =
    "Corwen:9:Human:Cleric:Male:Never/aldric:12:Elf:Mage:Male:Never/Brynn:3:Orc:Rogue:Female:Never/";

class AccountKeyboard : public LodgeFixture {
  protected:
    // Logged in to the peer as bob/pw, with the account's list shown and in front.
    AccountDisplay& Shown() {
        Lodge& w = LoggedIn(peer, kKey);
        app->Wire.InQueue.Put("Displaybob/bob@example.org/0/" + kThree);
        w.Worker_Timer();
        EXPECT_TRUE(QTest::qWaitForWindowActive(app->accountDisplay));
        return *app->accountDisplay;
    }
    std::vector<std::string> Sent(std::size_t count = 1) { return peer.WaitMessages(kKey, count); }
    std::string LoginGR(const std::string& name) {
        return "AccountLoginGR" + name + "/" + app->Machine.MachineIdentifier().toStdString();
    }
    void Tick(const std::string& message) {
        app->Wire.InQueue.Put(message);
        app->lodge->Worker_Timer();
    }
    static void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }
    // Runs act once a modal dialog is in front with the focus inside it (the dialog's exec() is running).
    static void WhenModal(std::function<void(QWidget*)> act) {
        auto* poll = new QTimer;
        poll->setInterval(10);
        QObject::connect(poll, &QTimer::timeout, [poll, act] {
            QWidget* modal = QApplication::activeModalWidget();
            QWidget* focus = QApplication::focusWidget();
            if (!modal || !focus || !modal->isAncestorOf(focus)) return;
            poll->stop();
            poll->deleteLater();
            act(modal);
        });
        poll->start();
    }
    Peer peer;
};

TEST_F(AccountKeyboard, TypedNameEnterThenTabToAPlayButton) {
    AccountDisplay& d = Shown();
    ASSERT_EQ(d.TypeCritPlay, QApplication::focusWidget());
    Type(QStringLiteral("bry"));
    Key(Qt::Key_Return);
    EXPECT_EQ(std::vector<std::string>{LoginGR("Brynn")}, Sent());
    // The server turns the play down; the buttons come back and the keyboard reaches them.
    Tick("AccountMSGNot now.");
    peer.Received.clear();
    Key(Qt::Key_Tab);
    ASSERT_EQ(d.Play[0], QApplication::focusWidget());
    EXPECT_EQ(QStringLiteral("Play Brynn"), d.Play[0]->accessibleName());
    Key(Qt::Key_Space);
    EXPECT_EQ(std::vector<std::string>{LoginGR("Brynn")}, Sent());
    // The play buttons are disabled while waiting; the focus stays in the window.
    EXPECT_TRUE(d.isAncestorOf(QApplication::focusWidget()));
}

TEST_F(AccountKeyboard, ChangedPasswordIsUsedFromThenOn) {
    AccountDisplay& d = Shown();
    WhenModal([](QWidget*) {
        Type(QStringLiteral("lantern4242"));
        Key(Qt::Key_Tab);
        Type(QStringLiteral("lantern4242"));
        Key(Qt::Key_Return);
    });
    QTest::mouseClick(d.ChangePassword, Qt::LeftButton); // returns when the dialog has closed
    EXPECT_EQ(std::vector<std::string>{"AccountChangePasslantern4242"}, Sent());
    EXPECT_EQ(QStringLiteral("lantern4242"), app->lodge->Password->text());
    peer.Received.clear();
    QTest::mouseClick(d.RefreshCrit, Qt::LeftButton);
    app->lodge->Login_Click(0); // a later log-in on the same connection
    EXPECT_EQ((std::vector<std::string>{"AccountLoadbob/lantern4242", "AccountLoadbob/lantern4242"}),
              Sent(2));
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();
}

TEST_F(AccountKeyboard, RefusedPasswordChangeKeepsTheOldOne) {
    AccountDisplay& d = Shown();
    WhenModal([](QWidget* dialog) {
        Type(QStringLiteral("lantern4242"));
        Key(Qt::Key_Tab);
        Type(QStringLiteral("lantern4243"));
        Key(Qt::Key_Return); // refused: the two differ
        static_cast<QDialog*>(dialog)->reject();
    });
    QTest::mouseClick(d.ChangePassword, Qt::LeftButton);
    EXPECT_EQ(QStringList{QStringLiteral("Password's don't match")}, dialogs.Shown);
    EXPECT_EQ(QStringLiteral("pw"), app->lodge->Password->text());
    EXPECT_TRUE(Sent(0).empty());
}

TEST_F(AccountKeyboard, RefusedTransferGivesTheButtonBack) {
    AccountDisplay& d = Shown();
    d.CharacterMove->setText(QStringLiteral("Brynn"));
    d.NewAccount->setText(QStringLiteral("alice"));
    dialogs.Answers = {true, false};
    QTest::mouseClick(d.TransferCrit, Qt::LeftButton);
    EXPECT_EQ(std::vector<std::string>{"AccountTransferCritBrynn/alice"}, Sent());
    EXPECT_EQ(QStringLiteral("Sending"), d.TransferCrit->text());
    EXPECT_FALSE(d.TransferCrit->isEnabled());
    dialogs.Shown.clear();
    Tick("AccountMSGThere is no account called alice.");
    EXPECT_EQ(QStringList{QStringLiteral("There is no account called alice.")}, dialogs.Shown);
    EXPECT_EQ(QStringLiteral("Transfer Character"), d.TransferCrit->text());
    EXPECT_TRUE(d.TransferCrit->isEnabled());
    EXPECT_EQ(QStringLiteral("Brynn"), d.CTable[12]->text()); // still on the account
}

TEST_F(AccountKeyboard, ScreenReadersFindEveryControlByItsOwnName) {
    AccountDisplay& d = Shown();
    const AccessibleTree tree = Accessible(&d);
    EXPECT_TRUE(tree.Unnamed.isEmpty()) << tree.Unnamed.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(tree.Shared.isEmpty()) << tree.Shared.join(QLatin1Char('|')).toStdString();
    const std::vector<std::pair<const char*, const QObject*>> named = {
        {"Play by name", d.TypeCritPlay},
        {"Sort by", d.ABC},
        {"Character to transfer", d.CharacterMove},
        {"To account", d.NewAccount},
        {"Play Corwen", d.Play[0]},
        {"Transfer Character", d.TransferCrit},
        {"Scroll the character list", d.CScroll}};
    for (const auto& [name, control] : named)
        EXPECT_EQ(control, tree.ByName.value(QString::fromLatin1(name))) << name;

    // The account dialogs.
    ChangePasswordDialog password(*app, &d);
    ChangeEmailDialog email(*app, &d);
    DeleteCharacterDialog remove(*app, &d);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&password, &email, &remove}) {
        dialog->show();
        const AccessibleTree inside = Accessible(dialog);
        EXPECT_TRUE(inside.Unnamed.isEmpty()) << dialog->windowTitle().toStdString() << ": "
                                              << inside.Unnamed.join(QLatin1Char('|')).toStdString();
        EXPECT_TRUE(inside.Shared.isEmpty()) << dialog->windowTitle().toStdString() << ": "
                                             << inside.Shared.join(QLatin1Char('|')).toStdString();
        if (dialog == &password) {
            EXPECT_EQ(password.ConfirmPassword,
                      inside.ByName.value(QStringLiteral("Type the new password again")));
        }
        dialog->hide();
    }
}

} // namespace
} // namespace gr::test
