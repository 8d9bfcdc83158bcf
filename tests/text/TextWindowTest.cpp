// The text display TD: styled runs in the document, trimming, pausing, and clicks on links.
#include "text/TextWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "core/WireText.h"
#include "support/Fakes.h"

namespace gr::test {
namespace {

std::uint32_t ToBgr(const QColor& c) {
    return std::uint32_t(c.blue() << 16 | c.green() << 8 | c.red());
}

class TextDisplay : public ::testing::Test {
  protected:
    // The document in short: "[text|bbggrr sN i u]" per run, "/" between lines.
    std::string Runs() const {
        std::string out;
        for (QTextBlock block = TD.document()->begin(); block.isValid(); block = block.next()) {
            if (block != TD.document()->begin()) out += "/";
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const QTextCharFormat format = fragment.charFormat();
                const QColor c = format.foreground().color();
                out += "[" + ToWire(fragment.text()) + "|" +
                       QStringLiteral("%1")
                           .arg((c.blue() << 16) | (c.green() << 8) | c.red(), 6, 16, QLatin1Char('0'))
                           .toStdString() +
                       " s" + std::to_string(qRound(format.fontPointSize()));
                if (format.fontItalic()) out += " i";
                if (format.fontUnderline()) out += " u";
                out += "]";
            }
        }
        return out;
    }
    std::string Text() const { return ToWire(TD.toPlainText()); }

    FakeShell shell;
    ScriptedRandom random{{3}};
    TextWindow TD{shell, random};
};

TEST_F(TextDisplay, LinesBecomeStyledRuns) {
    TD.RenderLine("{00c000{Hello}{ff8888{Blue {u{under{u{ and \xE9\x80");
    TD.RenderLine("{s30{{i{big http://x.org}{s4{{rc{ab");
    TD.RenderLine("no tags");
    TD.TextSize = 12; // applies from the next line on
    TD.RenderLine("{0000ff{red");
    EXPECT_EQ("[Hello|00c000 s8]/[Blue |ff8888 s8][under|ff8888 s8 u][ and \xE9\x80|ff8888 s8]/"
              "[big |ff8888 s30 i][http://x.org|ff9c5c s30 i u]/[ab|333333 s8 i]/"
              "/"
              "[red|0000ff s12]/",
              Runs());
}

TEST_F(TextDisplay, FailedLineStopsWithoutALineBreak) {
    TD.RenderLine("{00c000{a{zz{lost");
    TD.RenderLine("{ffffff{b");
    EXPECT_EQ("[a|00c000 s8][b|ffffff s8]/", Runs());
}

TEST_F(TextDisplay, TrimKeepsTheLast700CharactersInGrey) {
    TD.TextBufferSize = 1000;
    TD.RenderLine("{ffffff{" + std::string(1000, 'a')); // 1001 characters with the line break
    EXPECT_EQ(1001, TD.document()->characterCount() - 1);
    TD.RenderLine("{0000ff{next");
    EXPECT_EQ("[" + std::string(699, 'a') + "|888888 s8]/[next|0000ff s8]/", Runs());
    // At the limit nothing is cut.
    TD.ClearText();
    TD.RenderLine("{ffffff{" + std::string(999, 'b'));
    TD.RenderLine("{ffffff{c");
    EXPECT_EQ(std::string(999, 'b') + "\nc\n", Text());
}

TEST_F(TextDisplay, PausedLinesWaitAndComeBackInOrder) {
    TD.RenderLine("{ffffff{before");
    TD.Pause();
    EXPECT_TRUE(TD.TextPaused);
    TD.PrintLine("{ffffff{two");
    TD.PrintSystemLine("five");
    EXPECT_EQ("[before|ffffff s8]/[Text paused.|00c000 s8]/", Runs());
    TD.ClearText();
    EXPECT_EQ("", Text());
    TD.Resume();
    EXPECT_FALSE(TD.TextPaused);
    EXPECT_EQ("[Text resumed.|00c000 s8]/[two|ffffff s8]/[five|00c000 s8]/",
              Runs()); // they outlive the clearing
    EXPECT_TRUE(TD.PausedLines.empty());
    TD.PrintLine("{ffffff{live");
    EXPECT_EQ("Text resumed.\ntwo\nfive\nlive\n", Text());
}

TEST_F(TextDisplay, APauseHoldsTenThousandLinesAndCountsWhatItDrops) {
    TD.TextBufferSize = 100000;
    TD.Pause();
    const std::size_t sent = TextWindow::kMaxPausedLines + 3;
    for (std::size_t i = 0; i < sent; ++i)
        TD.PrintLine("{ffffff{" + std::to_string(i));
    // A huge line waits as no more than the window would show of it.
    TD.PausedLines.back() = "{ffffff{last";
    TD.Resume();
    const std::string text = Text();
    EXPECT_NE(std::string::npos, text.find("\n9998\nlast\n"));
    EXPECT_EQ(std::string::npos, text.find("\n10000\n"));
    EXPECT_TRUE(
        text.ends_with("\n3 lines were dropped while the text was paused: the pause holds 10000 lines.\n"));
    // The count starts afresh with the next pause.
    TD.Pause();
    TD.Resume();
    EXPECT_TRUE(Text().ends_with("Text resumed.\n"));
}

TEST_F(TextDisplay, AHeldLineKeepsOnlyWhatIsShown) {
    TD.Pause();
    TD.PrintLine("{ffffff{" + std::string(1 << 20, 'x'));
    ASSERT_EQ(1u, TD.PausedLines.size());
    EXPECT_GE(TD.PausedLines[0].size(), kMaxMarkupLineBytes);
    EXPECT_LT(TD.PausedLines[0].size(), kMaxMarkupLineBytes + 16);
    TD.Resume();
    EXPECT_TRUE(Text().ends_with(std::string(100, 'x') + " [...]\n"));
}

TEST_F(TextDisplay, OverlongLinesShowTheirCutMark) {
    TD.RenderLine("{ffffff{" + std::string(20000, 'a'));
    std::string runs;
    for (std::size_t i = 0; i < kMaxTextRuns; ++i)
        runs += "{ffffff{b{eeeeee{b";
    TD.RenderLine(runs);
    const bool cut = Text() == std::string(kMaxMarkupLineBytes - 8, 'a') + " [...]\n" +
                                   std::string(kMaxTextRuns, 'b') + " [...]\n";
    EXPECT_TRUE(cut) << Text().substr(0, 100) << "..." << Text().substr(Text().size() - 100);
}

TEST_F(TextDisplay, DrawsOnTheBackgroundItsColoursWereCheckedAgainst) {
    TD.resize(200, 100);
    const QImage shot = TD.viewport()->grab().toImage();
    const QColor corner = shot.pixelColor(2, 2);
    EXPECT_EQ(kTextBackgroundColour, std::uint32_t(corner.blue() << 16 | corner.green() << 8 | corner.red()));
}

TEST_F(TextDisplay, LinkAtSeesTheLineOfTheCaret) {
    TD.RenderLine("{ffffff{first line");
    TD.RenderLine("{ffffff{http://x.org/a");
    const int start = TD.document()->findBlockByNumber(1).position();
    EXPECT_EQ("", TD.LinkAt(start - 2));
    EXPECT_EQ("http://x.org/a", TD.LinkAt(start));
    EXPECT_EQ("http://x.org/a", TD.LinkAt(start + 14));
    EXPECT_EQ("", TD.LinkAt(0));
    EXPECT_EQ("", TD.LinkAt(100000));
}

TEST_F(TextDisplay, LeftClickOnALinkOpensIt) {
    TD.resize(400, 200);
    TD.show();
    TD.RenderLine("{ff8888{see (http://x.org/A?b=1) now");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&TD));
    const auto pointAt = [&](int position) { return TD.PositionRect(position).center() + QPoint(2, 0); };
    QTest::mouseClick(TD.viewport(), Qt::LeftButton, {}, pointAt(2));
    EXPECT_TRUE(shell.Opened.isEmpty());
    QTest::mouseClick(TD.viewport(), Qt::LeftButton, {}, pointAt(10));
    EXPECT_EQ(QStringList{QStringLiteral("http://x.org/A?b=1")}, shell.Opened);
}

// A view of 400 by 200 pixels with many more lines than it shows.
class ShownTextDisplay : public TextDisplay {
  protected:
    void SetUp() override {
        TD.resize(400, 200);
        TD.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&TD));
    }
    void Lines(int from, int to) {
        for (int i = from; i < to; ++i)
            TD.RenderLine("{ffffff{line " + std::to_string(i) + " of the wolf and the Wolf");
        QTest::qWait(2 * TextWindow::kFrameMs); // a frame passes
    }
    int Bottom() const { return TD.verticalScrollBar()->value(); }
};

TEST_F(ShownTextDisplay, LinesDrawnBetweenFramesEndAsLinesDrawnOneFrameEach) {
    TD.TextBufferSize = 3000; // trimming happens on the way
    for (int i = 0; i < 200; ++i) {
        TD.RenderLine("{ffffff{line " + std::to_string(i) + "}{0000ff{{u{red " + std::to_string(i));
        QCoreApplication::processEvents();
    }
    const std::string oneByOne = Runs();
    TD.ClearText();
    for (int i = 0; i < 200; ++i)
        TD.RenderLine("{ffffff{line " + std::to_string(i) + "}{0000ff{{u{red " + std::to_string(i));
    EXPECT_EQ(oneByOne, Runs());
    EXPECT_TRUE(TD.AtBottom());
}

TEST_F(ShownTextDisplay, ReadingBackHoldsStillAndMarksNewTextBelow) {
    Lines(0, 100);
    ASSERT_TRUE(TD.AtBottom());
    EXPECT_EQ(TD.document()->blockCount() - 1, Bottom());
    TD.ScrollPages(-1);
    EXPECT_FALSE(TD.AtBottom());
    const int reading = Bottom();
    const QRect where = TD.PositionRect(TD.document()->findBlockByNumber(reading - 1).position());
    ASSERT_FALSE(where.isNull());
    EXPECT_FALSE(TD.NewTextBelow());

    Lines(100, 150);
    EXPECT_EQ(reading, Bottom()) << "new text does not move what the player reads";
    EXPECT_EQ(where, TD.PositionRect(TD.document()->findBlockByNumber(reading - 1).position()));
    EXPECT_TRUE(TD.NewTextBelow());
    // The mark is drawn in the view's foot.
    const QImage shot = TD.viewport()->grab().toImage();
    EXPECT_NE(ToBgr(shot.pixelColor(2, shot.height() - 3)), kTextBackgroundColour);

    TD.ScrollToBottom();
    QTest::qWait(2 * TextWindow::kFrameMs);
    EXPECT_TRUE(TD.AtBottom());
    EXPECT_FALSE(TD.NewTextBelow());
    EXPECT_EQ(TD.document()->blockCount() - 1, Bottom());
    Lines(150, 160);
    EXPECT_EQ(TD.document()->blockCount() - 1, Bottom()) << "at the end, the view follows the text";
    const QImage following = TD.viewport()->grab().toImage();
    EXPECT_EQ(ToBgr(following.pixelColor(2, following.height() - 3)), kTextBackgroundColour);
}

TEST_F(ShownTextDisplay, FindingHighlightsMatchesAndWalksThem) {
    Lines(0, 60);
    TD.SetSearch(QStringLiteral("wolf"), false);
    ASSERT_TRUE(TD.FindNext(true));
    const QString text = TD.toPlainText();
    const int newest = int(text.lastIndexOf(QStringLiteral("Wolf")));
    EXPECT_EQ(newest, TD.CurrentMatch()) << "the first search starts from the newest text";
    ASSERT_TRUE(TD.FindNext(true));
    EXPECT_EQ(int(text.lastIndexOf(QStringLiteral("wolf"))), TD.CurrentMatch());
    ASSERT_TRUE(TD.FindNext(false));
    EXPECT_EQ(newest, TD.CurrentMatch());

    // Match case skips the capital ones; a search that reaches the oldest match goes round.
    TD.SetSearch(QStringLiteral("Wolf"), true);
    for (int i = 0; i < 61; ++i)
        ASSERT_TRUE(TD.FindNext(true));
    EXPECT_EQ(int(text.lastIndexOf(QStringLiteral("Wolf"))), TD.CurrentMatch())
        << "sixty matches back, and once round to the newest again";
    EXPECT_EQ(QStringLiteral("Wolf"), text.mid(TD.CurrentMatch(), 4));
    const QRect shownMatch = TD.PositionRect(TD.CurrentMatch());
    EXPECT_FALSE(shownMatch.isNull()) << "the match is brought into view";

    TD.SetSearch(QStringLiteral("dragon"), false);
    EXPECT_FALSE(TD.FindNext(true));
    EXPECT_EQ(-1, TD.CurrentMatch());
}

TEST_F(ShownTextDisplay, NewLinesAreToldToScreenReadersAndTheTextReads) {
    struct Case {
        const char* Line;
        bool Own, ChatOnly;
        QString Told;
    };
    MarkupState markup;
    for (const Case& c : std::vector<Case>{
             {"{ffffff{The wolf howls.}{ffffff{more", false, false, QStringLiteral("The wolf howls.\nmore\n")},
             {"{ffffff{The wolf howls.", false, true, QString()},
             {"{00ff00{Tamsin says, \"run\"", false, true, QStringLiteral("Tamsin says, \"run\"\n")},
             {"{00ff00{[Chat] Brynn: map at the mill", false, true,
              QStringLiteral("[Chat] Brynn: map at the mill\n")},
             {"{00c000{You have a ping of 20 ms.", true, true, QStringLiteral("You have a ping of 20 ms.\n")},
         })
        EXPECT_EQ(c.Told, AnnouncedText(MarkupOps(c.Line, markup, 8, random), c.Own, c.ChatOnly)) << c.Line;

    TD.RenderLine("{ffffff{The wolf howls.");
    TD.RenderLine("{00ff00{Tamsin says, \"to the ferry\"");
    TD.RenderLine("{ffffff{The wolf bites.");
    // The whole text reads through the text interface, line by line.
    QAccessibleInterface* access = QAccessible::queryAccessibleInterface(&TD);
    ASSERT_TRUE(access && access->textInterface());
    QAccessibleTextInterface* text = access->textInterface();
    EXPECT_EQ(TD.toPlainText().size(), text->characterCount());
    int start = 0, end = 0;
    EXPECT_EQ(QStringLiteral("The wolf bites.\n"),
              text->textAtOffset(50, QAccessible::LineBoundary, &start, &end));
    EXPECT_EQ(44, start);
    EXPECT_EQ(QStringLiteral("wolf"), text->textAtOffset(5, QAccessible::WordBoundary, &start, &end));
    EXPECT_TRUE(access->state().readOnly);
}

TEST_F(ShownTextDisplay, DraggingSelectsTextToCopyAndTheDocumentIsNeverLaidOutWhole) {
    TD.RenderLine("{ffffff{first line");
    TD.RenderLine("{ffffff{http://x.org/a");
    QTest::qWait(2 * TextWindow::kFrameMs);
    const QPoint from = TD.PositionRect(0).center() + QPoint(1, 0);
    const QPoint to = TD.PositionRect(5).center() + QPoint(1, 0);
    QTest::mousePress(TD.viewport(), Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, TD.viewport()->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(TD.viewport(), &move);
    QTest::mouseRelease(TD.viewport(), Qt::LeftButton, {}, to);
    EXPECT_EQ(QStringLiteral("first"), TD.SelectedText());
    EXPECT_TRUE(shell.Opened.isEmpty());
    TD.SelectAll();
    EXPECT_EQ(QStringLiteral("first line\nhttp://x.org/a\n"), TD.SelectedText());

    // Finding, painting, the accessible text and saving leave the document without a layout of its own:
    // only the lines in view are ever laid out.
    TD.SetSearch(QStringLiteral("line"), false);
    TD.FindNext(true);
    (void)TD.viewport()->grab();
    (void)TD.toHtml();
    EXPECT_EQ(nullptr, TD.document()->findChild<QAbstractTextDocumentLayout*>());
}

} // namespace
} // namespace gr::test
