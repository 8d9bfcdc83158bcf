// The character-creation window as a player meets it: typed through whatever has the focus, the server's
// answers through the login-phase dispatcher, and the messages that go out exactly as the game sends them.
#include <QApplication>
#include <QPointer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "character/Makeuser.h"
#include "login/AccountDisplay.h"
#include "support/Accessibility.h"
#include "support/LodgeFixture.h"
#include "support/Peer.h"

namespace gr::test {
namespace {

const std::string kKey = "m4keuser";

class MakeuserWindow : public LodgeFixture {
  protected:
    // Logged in, the account manager shown, and character creation opened from it.
    Makeuser& Opened() {
        Lodge& w = LoggedIn(peer, kKey);
        app->Wire.InQueue.Put("Displaybob/bob@example.org/1/Corwen:9:Human:Cleric:Male:Never/");
        w.Worker_Timer();
        AccountDisplay& manager = *app->accountDisplay;
        EXPECT_TRUE(QTest::qWaitForWindowActive(&manager));
        manager.MakeChar->click();
        Makeuser* window = manager.MakeuserWindow;
        EXPECT_TRUE(window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        EXPECT_FALSE(manager.isVisible());
        return *window;
    }
    // On the second page: the name Dark_Knight accepted, its first roll asked for.
    Makeuser& Accepted() {
        Makeuser& m = Opened();
        Type(QStringLiteral("dark_knight"));
        Key(Qt::Key_Return);
        EXPECT_EQ(std::vector<std::string>{"AccountGenerateUserDark_Knight"}, Sent());
        Answer("UsernameAccepted");
        EXPECT_EQ(std::vector<std::string>{"AccountRol10"}, Sent());
        return m;
    }
    // The messages sent since the last call.
    std::vector<std::string> Sent(std::size_t count = 1) {
        auto messages = peer.WaitMessages(kKey, count);
        peer.Received.clear();
        return messages;
    }
    std::vector<std::string> NothingSent() {
        QTest::qWait(30);
        auto messages = peer.Messages(kKey);
        peer.Received.clear();
        return messages;
    }
    void Answer(const std::string& text) {
        app->Wire.InQueue.Put("GenerateUser" + text);
        app->lodge->Worker_Timer();
    }
    static void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    // Tab until the widget has the focus; false when it is not reached.
    static bool TabTo(QWidget* target) {
        for (int i = 0; i < 80 && QApplication::focusWidget() != target; ++i)
            Key(Qt::Key_Tab);
        return QApplication::focusWidget() == target;
    }
    static bool TabToAny(const std::vector<QWidget*>& targets) {
        auto reached = [&] {
            return std::count(targets.begin(), targets.end(), QApplication::focusWidget()) > 0;
        };
        for (int i = 0; i < 80 && !reached(); ++i)
            Key(Qt::Key_Tab);
        return reached();
    }
    static QStringList Texts(const std::array<QLabel*, kStatCount>& labels) {
        QStringList texts;
        for (auto* l : labels)
            texts << l->text();
        return texts;
    }
    Peer peer;
};

TEST_F(MakeuserWindow, NameChecksThenTheServersAnswers) {
    Makeuser& m = Opened();
    ASSERT_EQ(m.Nameuser, QApplication::focusWidget());
    struct Case {
        QString typed;
        QString shown;
    };
    const std::vector<Case> refused = {
        {QStringLiteral("dark knight"),
         QStringLiteral("Your name contains invalid characters, use letters and _ (between words) only.")},
        {QStringLiteral("_bob"), QStringLiteral("Your name can't begin or end with a _.")},
        {QStringLiteral("a_bob"), QStringLiteral("You can't have 1 letter inbetween underscores.")},
        {QStringLiteral("bob__smith"), QStringLiteral("You can't have 2 underscores in a row.")},
    };
    for (const Case& c : refused) {
        dialogs.Shown.clear();
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(c.typed);
        Key(Qt::Key_Return);
        EXPECT_EQ(QStringList{c.shown}, dialogs.Shown) << c.typed.toStdString();
        EXPECT_TRUE(NothingSent().empty()) << c.typed.toStdString();
        EXPECT_TRUE(m.Nxt->isEnabled());
    }
    // An empty name does nothing at all.
    dialogs.Shown.clear();
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    Key(Qt::Key_Return);
    EXPECT_TRUE(dialogs.Shown.isEmpty());
    EXPECT_TRUE(NothingSent().empty());

    Type(QStringLiteral("dark_knight"));
    Key(Qt::Key_Return);
    EXPECT_EQ(std::vector<std::string>{"AccountGenerateUserDark_Knight"}, Sent());
    EXPECT_EQ(QStringLiteral("Dark_Knight"), m.Nameuser->text());
    EXPECT_EQ("Dark_Knight", app->Session.CharacterName);
    EXPECT_EQ(QStringLiteral("Verifying"), m.Nxt->text());
    EXPECT_EQ(QStringLiteral("Verifying"), m.Cancel[0]->text());
    EXPECT_FALSE(m.Nxt->isEnabled());
    EXPECT_FALSE(m.Cancel[0]->isEnabled());

    Answer("UsernameNotAccepted");
    EXPECT_EQ(QStringList{QStringLiteral("Username has already been registered or is being rolled")},
              dialogs.Shown);
    EXPECT_EQ(QStringLiteral("Next"), m.Nxt->text());
    EXPECT_EQ(QStringLiteral("Cancel"), m.Cancel[0]->text());
    EXPECT_TRUE(m.Nxt->isEnabled() && m.Cancel[0]->isEnabled());
    EXPECT_EQ(m.Nameuser, QApplication::focusWidget());
    // An answer nobody waits for changes nothing.
    dialogs.Shown.clear();
    Answer("UsernameNotAccepted");
    Answer("UsernameAccepted");
    EXPECT_TRUE(dialogs.Shown.isEmpty());
    EXPECT_EQ(0, m.Pages->currentIndex());
    EXPECT_TRUE(NothingSent().empty());

    Key(Qt::Key_Return);
    EXPECT_EQ(std::vector<std::string>{"AccountGenerateUserDark_Knight"}, Sent());
    Answer("UsernameAccepted");
    EXPECT_EQ(std::vector<std::string>{"AccountRol10"}, Sent());
    EXPECT_EQ(1, m.Pages->currentIndex());
    EXPECT_EQ(QStringLiteral("Verified OK"), m.Nxt->text());
    EXPECT_FALSE(m.Nxt->isEnabled() || m.Cancel[0]->isEnabled() || m.Nameuser->isEnabled());
    EXPECT_TRUE(m.Cancel[1]->isEnabled() && m.SubmitAll->isEnabled() && m.Reroll->isEnabled());
    EXPECT_TRUE(m.SubmitAll->isDefault());
    EXPECT_EQ(m.Race[0], QApplication::focusWidget());
    EXPECT_EQ((QStringList{"19", "19", "19", "19", "19", "19"}), Texts(m.MaxStats));
}

TEST_F(MakeuserWindow, RollChooseAndFinish) {
    Makeuser& m = Accepted();
    // The roll allows every class but the Mage and the Berserker.
    Answer("StatsIn17/12/15/9/18/11/111011101/5,400/");
    EXPECT_EQ((QStringList{"17", "12", "15", "9", "18", "11"}), Texts(m.RolledStats));
    EXPECT_EQ(QStringLiteral("Rolled stats: 17, 12, 15, 9, 18, 11"), m.Stats->accessibleName());
    EXPECT_FALSE(m.Class[3]->isEnabled());
    EXPECT_FALSE(m.Class[7]->isEnabled());
    EXPECT_TRUE(m.Class[5]->isEnabled());
    // A roll that does not read changes nothing.
    Answer("StatsIn17/12/15/9/18/11/111011101/5,400");
    Answer("StatsIn1/2/3/4/5/6/111111111/9999/");
    EXPECT_EQ(QStringLiteral("17"), m.RolledStats[0]->text());
    EXPECT_FALSE(m.Class[3]->isEnabled());

    // Races by the keyboard: each one asks for a roll and shows its maximum stats.
    ASSERT_EQ(m.Race[0], QApplication::focusWidget());
    Key(Qt::Key_Down);
    EXPECT_TRUE(m.Race[1]->isChecked());
    EXPECT_EQ(std::vector<std::string>{"AccountRol11"}, Sent());
    EXPECT_EQ((QStringList{"18", "21", "19", "18", "20", "21"}), Texts(m.MaxStats));
    EXPECT_FALSE(m.Reroll->isEnabled());
    EXPECT_FALSE(m.SubmitAll->isEnabled());
    // The Dark-Elf comes with its note first.
    for (int i = 2; i <= kDarkElf; ++i) {
        dialogs.Shown.clear();
        Key(Qt::Key_Down);
        EXPECT_EQ(std::vector<std::string>{"AccountRol1" + std::to_string(i)}, Sent());
    }
    EXPECT_EQ(QStringList{QString::fromLatin1(kDarkElfNote.data(), qsizetype(kDarkElfNote.size()))},
              dialogs.Shown);
    EXPECT_EQ((QStringList{"19", "20", "20", "17", "21", "16"}), Texts(m.MaxStats));
    // No answer within five seconds: Reroll comes back, with the focus.
    m.RerollRefresh_Timer();
    EXPECT_TRUE(m.Reroll->isEnabled());
    EXPECT_EQ(m.Reroll, QApplication::focusWidget());
    EXPECT_FALSE(m.RerollRefresh->isActive());
    Key(Qt::Key_Space);
    EXPECT_EQ(std::vector<std::string>{"AccountRol17"}, Sent());
    EXPECT_TRUE(m.RerollRefresh->isActive());
    Answer("StatsIn17/12/15/9/18/11/111111101//");
    EXPECT_FALSE(m.RerollRefresh->isActive());
    EXPECT_TRUE(m.Reroll->isEnabled() && m.SubmitAll->isEnabled());

    // Finish without a class says so and sends nothing.
    dialogs.Shown.clear();
    ASSERT_TRUE(TabTo(m.SubmitAll));
    Key(Qt::Key_Space);
    EXPECT_EQ(QStringList{QStringLiteral("You have not chosen a class.")}, dialogs.Shown);
    EXPECT_TRUE(NothingSent().empty());

    // The class, the gender and the portrait by the keyboard: Tab into the classes, arrows to the Ranger.
    ASSERT_TRUE(TabToAny({m.Class.begin(), m.Class.end()}));
    for (int i = 0; i < 20 && QApplication::focusWidget() != m.Class[5]; ++i) {
        const auto at = std::find(m.Class.begin(), m.Class.end(), QApplication::focusWidget());
        Key(at - m.Class.begin() < 5 ? Qt::Key_Down : Qt::Key_Up);
    }
    ASSERT_EQ(m.Class[5], QApplication::focusWidget());
    Key(Qt::Key_Space);
    EXPECT_TRUE(m.Class[5]->isChecked());
    ASSERT_TRUE(TabTo(m.Male));
    Key(Qt::Key_Right);
    EXPECT_TRUE(m.Female->isChecked());
    EXPECT_FALSE(m.Male->isChecked());
    // A picture chooses its portrait when clicked.
    QTest::mouseClick(m.HavePic[12], Qt::LeftButton);
    EXPECT_TRUE(m.HavePicSelect[12]->isChecked());
    Key(Qt::Key_Return);
    EXPECT_EQ(std::vector<std::string>{"AccountNewCritDark_Knight/F/Ranger/12"}, Sent());
    QTest::qWait(20);
    EXPECT_FALSE(app->accountDisplay->MakeuserWindow); // closed and gone
    EXPECT_TRUE(app->accountDisplay->isVisible());
    EXPECT_FALSE(app->CharacterCreationAnswer);
    EXPECT_EQ(QStringLiteral("12"), app->GetSetting(QStringLiteral("POR_Dark_Knight")));
}

TEST_F(MakeuserWindow, ARollThatRefusesTheChosenClassUnchoosesIt) {
    Makeuser& m = Accepted();
    Answer("StatsIn17/12/15/9/18/11/111111111//");
    QTest::mouseClick(m.Class[3], Qt::LeftButton);
    ASSERT_TRUE(m.Class[3]->isChecked());
    Answer("StatsIn17/12/15/9/18/11/111011111//");
    EXPECT_FALSE(m.Class[3]->isChecked());
    EXPECT_FALSE(m.Class[3]->isEnabled());
    EXPECT_EQ(-1, m.ChosenClass());
    // The other classes can still be chosen, one at a time.
    QTest::mouseClick(m.Class[0], Qt::LeftButton);
    QTest::mouseClick(m.Class[1], Qt::LeftButton);
    EXPECT_EQ(1, m.ChosenClass());
    EXPECT_FALSE(m.Class[0]->isChecked());
}

TEST_F(MakeuserWindow, HumanCheckRightAnswerRollsEveryAnswerReachable) {
    Makeuser& m = Accepted();
    Answer("StatsIn17/12/15/9/18/11/111111111//");
    // The check is drawn (0), then twenty sizes, five, two, a minus, the question's size and the far corner.
    std::vector<int> draws = {0};
    draws.insert(draws.end(), 20, 2);
    draws.insert(draws.end(), {4, 1, 0, 2, 399, 399, 50});
    random = ScriptedRandom(draws);
    ASSERT_TRUE(TabTo(m.Reroll));
    Key(Qt::Key_Space);
    EXPECT_TRUE(NothingSent().empty()); // the roll waits for the answer
    ASSERT_TRUE(m.Squares->isVisible());
    EXPECT_EQ(1, m.HumanCheckPending);
    EXPECT_EQ(QStringLiteral("What is five minus two:"), m.TextInfo->text());
    EXPECT_EQ(3, m.CorrectAnswer);
    EXPECT_EQ(m.TextInfo, QApplication::focusWidget());
    // Wherever the frame goes, it is whole inside the page and each answer is what a click there hits.
    QWidget* page = m.Squares->parentWidget();
    EXPECT_TRUE(page->rect().contains(m.Squares->geometry())) << m.Squares->x() << "," << m.Squares->y();
    for (QPushButton* letter : m.Letters) {
        ASSERT_TRUE(letter->isVisible());
        const QPoint centre = letter->mapTo(page, letter->rect().center());
        EXPECT_EQ(letter, page->childAt(centre)) << letter->text().toStdString();
    }
    // Enter on the question chooses nothing; rolling again waits for the answer, and so does a late roll.
    Key(Qt::Key_Return);
    m.Reroll_Click();
    Answer("StatsIn18/12/15/9/18/11/111111111//");
    EXPECT_EQ(QStringLiteral("18"), m.RolledStats[0]->text());
    EXPECT_FALSE(m.SubmitAll->isEnabled());
    EXPECT_FALSE(m.Reroll->isEnabled());
    EXPECT_FALSE(ending.Ended());
    EXPECT_TRUE(NothingSent().empty());
    ASSERT_TRUE(TabTo(m.Letters[3]));
    EXPECT_EQ(QStringLiteral("3"), m.Letters[3]->accessibleName());
    Key(Qt::Key_Space);
    EXPECT_EQ(std::vector<std::string>{"AccountRol10"}, Sent());
    EXPECT_FALSE(m.Squares->isVisible());
    EXPECT_EQ(0, m.HumanCheckPending);
    EXPECT_TRUE(m.RerollRefresh->isActive());
    EXPECT_FALSE(ending.Ended());
}

// A human check showing "What is five minus two:" (answer 3) in the top left corner.
void ShowFiveMinusTwo(Makeuser& m, ScriptedRandom& random) {
    std::vector<int> draws = {0};
    draws.insert(draws.end(), 20, 0);
    draws.insert(draws.end(), {4, 1, 0, 0, 0, 0, 50});
    random = ScriptedRandom(draws);
    m.Reroll_Click();
    ASSERT_TRUE(m.Squares->isVisible());
}

TEST_F(MakeuserWindow, HumanCheckWrongAnswerEndsTheProgram) {
    Makeuser& m = Accepted();
    ShowFiveMinusTwo(m, random);
    QTest::mouseClick(m.Letters[4], Qt::LeftButton);
    EXPECT_TRUE(ending.Ended());
    EXPECT_TRUE(NothingSent().empty());
}

TEST_F(MakeuserWindow, HumanCheckClickOnTheFrameEndsTheProgram) {
    Makeuser& m = Accepted();
    ShowFiveMinusTwo(m, random);
    QTest::mouseClick(m.Squares, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(ending.Ended());
    EXPECT_TRUE(NothingSent().empty());
}

TEST_F(MakeuserWindow, HumanCheckClickOnTheQuestionEndsTheProgram) {
    Makeuser& m = Accepted();
    ShowFiveMinusTwo(m, random);
    QTest::mouseClick(m.TextInfo, Qt::LeftButton);
    EXPECT_TRUE(ending.Ended());
    EXPECT_TRUE(NothingSent().empty());
}

TEST_F(MakeuserWindow, CancelAndEscapeGoBackToTheAccountManager) {
    Makeuser& m = Opened();
    Type(QStringLiteral("zed"));
    Key(Qt::Key_Escape);
    QTest::qWait(20);
    EXPECT_FALSE(app->accountDisplay->MakeuserWindow);
    EXPECT_TRUE(app->accountDisplay->isVisible());
    EXPECT_FALSE(app->CharacterCreationAnswer);
    EXPECT_TRUE(NothingSent().empty());
    (void)m;
    // Opened again, from the second page by its Cancel button.
    app->accountDisplay->MakeChar->click();
    Makeuser* again = app->accountDisplay->MakeuserWindow;
    ASSERT_TRUE(again);
    ASSERT_TRUE(QTest::qWaitForWindowActive(again));
    ASSERT_EQ(again->Nameuser, QApplication::focusWidget());
    Type(QStringLiteral("zed"));
    Key(Qt::Key_Return);
    EXPECT_EQ(std::vector<std::string>{"AccountGenerateUserZed"}, Sent());
    Answer("UsernameAccepted");
    Sent();
    again->Cancel[1]->click();
    QTest::qWait(20);
    EXPECT_FALSE(app->accountDisplay->MakeuserWindow);
    EXPECT_TRUE(app->accountDisplay->isVisible());
    EXPECT_TRUE(NothingSent().empty());
    Answer("StatsIn1/2/3/4/5/6/111111111//"); // after the window has gone: dropped
}

TEST_F(MakeuserWindow, EveryControlHasItsOwnName) {
    Makeuser& m = Opened();
    AccessibleTree first = Accessible(&m);
    EXPECT_TRUE(first.Unnamed.isEmpty()) << first.Unnamed.join(", ").toStdString();
    EXPECT_TRUE(first.Shared.isEmpty()) << first.Shared.join(", ").toStdString();
    EXPECT_TRUE(first.ByName.contains(QStringLiteral("Name")));
    Type(QStringLiteral("dark_knight"));
    Key(Qt::Key_Return);
    Answer("UsernameAccepted");
    AccessibleTree second = Accessible(&m);
    EXPECT_TRUE(second.Unnamed.isEmpty()) << second.Unnamed.join(", ").toStdString();
    EXPECT_TRUE(second.Shared.isEmpty()) << second.Shared.join(", ").toStdString();
    for (const char* name : {"Human", "Dark-Elf", "Ranger", "Male", "Female", "Portrait 1", "Portrait 40",
                             "Reroll", "Finish", "Cancel"})
        EXPECT_TRUE(second.ByName.contains(QString::fromLatin1(name))) << name;
}

} // namespace
} // namespace gr::test
