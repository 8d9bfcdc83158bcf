// The account manager and its dialogs on a connected login window.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "login/AccountDialogs.h"
#include "login/AccountDisplay.h"
#include "support/LodgeFixture.h"
#include "support/Peer.h"

namespace gr::test {
namespace {

const std::string kKey = "k3y";

class AccountManager : public LodgeFixture {
  protected:
    // Logged in to the peer, with the account's list shown.
    AccountDisplay& Shown(const std::string& records) {
        Lodge& w = LoggedIn(peer, kKey);
        app->Wire.InQueue.Put("Displaybob/bob@example.org/0/" + records);
        w.Worker_Timer();
        return *app->accountDisplay;
    }
    // What the client has sent since the log-in, once `count` messages are there.
    std::vector<std::string> Sent(std::size_t count = 1) { return peer.WaitMessages(kKey, count); }
    std::string LoginGR(const std::string& name) {
        return "AccountLoginGR" + name + "/" + app->Machine.MachineIdentifier().toStdString();
    }
    static QStringList Column(const AccountDisplay& d, int column) {
        QStringList texts;
        for (int r = 0; r < AccountDisplay::kVisibleRows; ++r)
            texts << d.CTable[std::size_t(6 * r + column)]->text();
        return texts;
    }
    Peer peer;
};

const std::string kThree =
    "Corwen:9:Human:Cleric:Male:Never/aldric:12:Elf:Mage:Male:Never/Brynn:3:Orc:Rogue:Female:Never/";

TEST_F(AccountManager, PlayButtonsEnterTheirRow) {
    AccountDisplay& d = Shown(kThree);
    QTest::mouseClick(d.Play[5], Qt::LeftButton); // an empty row
    EXPECT_TRUE(Sent(0).empty());
    EXPECT_TRUE(d.Play[0]->isEnabled());
    QTest::mouseClick(d.Play[1], Qt::LeftButton);
    EXPECT_EQ(std::vector<std::string>{LoginGR("aldric")}, Sent());
    EXPECT_EQ("aldric", app->Session.CharacterName);
    for (auto* play : d.Play) {
        EXPECT_FALSE(play->isEnabled());
        EXPECT_EQ(QStringLiteral("Wait"), play->text());
    }
}

TEST_F(AccountManager, SortIsRememberedAndFilterNarrowsTheList) {
    AccountDisplay& d = Shown(kThree);
    d.ABC->setCurrentIndex(1);
    QTest::mouseClick(d.ABCSort, Qt::LeftButton);
    EXPECT_EQ(QStringLiteral("1"), app->GetSetting(QStringLiteral("Sort")));
    EXPECT_EQ((QStringList{"Brynn", "Corwen", "aldric", ""}), Column(d, 0).mid(0, 4));
    EXPECT_EQ((QStringList{"3", "9", "12", ""}), Column(d, 1).mid(0, 4));
    QTest::keyClicks(d.TypeCritPlay, QStringLiteral("c"));
    EXPECT_EQ((QStringList{"Corwen", ""}), Column(d, 0).mid(0, 2));
    // A new account manager reads the sort back.
    AccountDisplay again(*app);
    EXPECT_EQ(1, again.ABC->currentIndex());
}

TEST_F(AccountManager, EnterPlaysTheTypedCharacter) {
    struct Case {
        const char* typed;
        std::string played;
    };
    for (const Case& c : {Case{"BRY", "Brynn"}, Case{"Zed", "Zed"}}) {
        AccountDisplay& d = Shown(kThree);
        QTest::keyClicks(d.TypeCritPlay, QString::fromLatin1(c.typed));
        QTest::keyClick(d.TypeCritPlay, Qt::Key_Return);
        EXPECT_EQ(std::vector<std::string>{LoginGR(c.played)}, Sent()) << c.typed;
        EXPECT_EQ(c.played, app->Session.CharacterName);
        peer.Received.clear();
        peer.Socket = nullptr;
    }
}

TEST_F(AccountManager, ScrollShowsLaterRecords) {
    std::string records;
    for (int i = 0; i < 15; ++i)
        records += "Hero" + std::to_string(i) + ":1:Elf:Mage:Male:Never/";
    AccountDisplay& d = Shown(records);
    EXPECT_EQ(4, d.CScroll->maximum());
    d.CScroll->setValue(4);
    EXPECT_EQ(QStringLiteral("Hero4"), d.CTable[0]->text());
    EXPECT_EQ(QStringLiteral("Hero14"), d.CTable[60]->text());
}

TEST_F(AccountManager, TransferAsksTwiceAndCleansUpOnlyItsOwnFiles) {
    const std::vector<std::string> files = {"macros_Brynn.txt", "macros1_Brynn_3.txt", "macros_Other.txt"};
    struct Case {
        QString character;
        std::deque<bool> answers;
        bool sent;
        bool cleaned;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("Brynn"), {false}, false, false},
        {QStringLiteral("Brynn"), {true, false}, true, false},
        {QStringLiteral("Brynn"), {true, true}, true, true},
        {QStringLiteral("../Brynn"), {true, true}, true, false}, // never a file outside the data folder
    };
    for (const auto& c : cases) {
        AccountDisplay& d = Shown(kThree);
        for (const auto& f : files)
            QFile(QString::fromStdString(f)).open(QIODevice::WriteOnly);
        QFile outside(QDir(Home.path()).filePath(QStringLiteral("../macros_Brynn.txt")));
        app->SaveSetting(QStringLiteral("LMB_Brynn"), QStringLiteral("x"));
        d.CharacterMove->setText(c.character);
        d.NewAccount->setText(QStringLiteral("alice"));
        dialogs.Answers = c.answers;
        QTest::mouseClick(d.TransferCrit, Qt::LeftButton);
        const auto sent = Sent(c.sent ? 1 : 0);
        EXPECT_EQ(c.sent, sent == std::vector<std::string>{"AccountTransferCrit" + c.character.toStdString() +
                                                           "/alice"})
            << c.character.toStdString();
        EXPECT_EQ(c.sent ? QStringLiteral("Sending") : QStringLiteral("Transfer Character"),
                  d.TransferCrit->text());
        EXPECT_EQ(!c.cleaned, QFile::exists(QStringLiteral("macros_Brynn.txt")));
        EXPECT_EQ(!c.cleaned, QFile::exists(QStringLiteral("macros1_Brynn_3.txt")));
        EXPECT_EQ(c.cleaned, app->GetSetting(QStringLiteral("LMB_Brynn")).isEmpty());
        EXPECT_TRUE(QFile::exists(QStringLiteral("macros_Other.txt")));
        peer.Received.clear();
        peer.Socket = nullptr;
    }
}

TEST_F(AccountManager, ChangePasswordRefusesWeakOnes) {
    Shown(kThree);
    ChangePasswordDialog dialog(*app);
    const std::vector<std::tuple<const char*, const char*, QString>> refusals = {
        {"abcdefgh12", "abcdefgh13", QStringLiteral("Password's don't match")},
        {"abc12", "abc12", QStringLiteral("Password has to be at least 10 characters long.")},
        {"abcdefghi1", "abcdefghi1", QStringLiteral("Password has to contain at least 2 numbers.")},
    };
    for (const auto& [password, confirmation, shown] : refusals) {
        dialogs.Shown.clear();
        dialog.NewPassword->setText(QString::fromLatin1(password));
        dialog.ConfirmPassword->setText(QString::fromLatin1(confirmation));
        EXPECT_FALSE(dialog.Submit());
        EXPECT_EQ(QStringList{shown}, dialogs.Shown);
    }
    EXPECT_TRUE(Sent(0).empty());
    dialog.NewPassword->setText(QStringLiteral("lantern4242"));
    dialog.ConfirmPassword->setText(QStringLiteral("lantern4242"));
    EXPECT_TRUE(dialog.Submit());
    EXPECT_EQ(std::vector<std::string>{"AccountChangePasslantern4242"}, Sent());
}

TEST_F(AccountManager, ChangeEmailShowsTheAddressAndSendsTheNewOne) {
    Shown(kThree);
    ChangeEmailDialog dialog(*app);
    EXPECT_EQ(QStringLiteral("bob@example.org"), dialog.CurrentEmail->text());
    EXPECT_FALSE(dialog.Submit());
    dialog.NewEmail->setText(QStringLiteral(" bob@new.example "));
    EXPECT_TRUE(dialog.Submit());
    EXPECT_EQ(std::vector<std::string>{"AccountChangeEmailbob@new.example"}, Sent());
}

TEST_F(AccountManager, DeletedCharacterExplainsTheClosedConnection) {
    Shown(kThree);
    DeleteCharacterDialog dialog(*app);
    ASSERT_EQ(3, dialog.Character->count());
    dialog.Character->setCurrentIndex(2);
    dialogs.Answers = {false, true};
    EXPECT_FALSE(dialog.Submit());
    EXPECT_TRUE(Sent(0).empty());
    EXPECT_TRUE(dialog.Submit());
    EXPECT_EQ(std::vector<std::string>{"AccountDeleteCritBrynn"}, Sent());
    EXPECT_EQ(1, app->Wire.CharacterDeleted);
    dialogs.Shown.clear();
    peer.Socket->disconnectFromHost();
    ASSERT_TRUE(WaitFor([&] { return ending.Ended(); }));
    EXPECT_EQ(QStringList{QStringLiteral("Your character has been deleted.")}, dialogs.Shown);
}

TEST_F(AccountManager, RefreshAsksForTheListAfresh) {
    AccountDisplay& d = Shown(kThree);
    QTest::mouseClick(d.RefreshCrit, Qt::LeftButton);
    EXPECT_EQ(std::vector<std::string>{"AccountLoadbob/pw"}, Sent());
    app->Wire.InQueue.Put("Displaybob/bob@example.org/0/" + kThree);
    app->lodge->Worker_Timer();
    EXPECT_EQ(QStringLiteral(""), d.CTable[18]->text()); // three rows, not six
    EXPECT_EQ(QStringLiteral("Brynn"), d.CTable[12]->text());
}

TEST_F(AccountManager, ServerTextIsShownAsItStandsNeverAsMarkup) {
    // A picture on this machine that markup in a character name or an e-mail address could pull in.
    QImage tall(20, 400, QImage::Format_RGB32);
    tall.fill(Qt::red);
    const QString picture = QDir(Home.path()).filePath(QStringLiteral("secret.png"));
    ASSERT_TRUE(tall.save(picture));
    const std::string markup = "<img src=\"secret.png\">"; // the working folder is the data folder
    app.reset();
    AccountDisplay& d = Shown(markup + ":1:Elf:Mage:Male:Never/");
    QLabel* name = d.CTable[0];
    EXPECT_EQ(QString::fromStdString(markup), name->text());
    EXPECT_LT(name->sizeHint().height(), 100); // one line of text, not the picture
    app->Account.AccountEmail = markup + std::string(100000, 'x');
    ChangeEmailDialog email(*app);
    EXPECT_LT(email.CurrentEmail->sizeHint().height(), 100);
    EXPECT_TRUE(email.CurrentEmail->text().endsWith(QStringLiteral(" [...]")));
}

} // namespace
} // namespace gr::test
