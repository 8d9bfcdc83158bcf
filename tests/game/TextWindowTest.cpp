// The text display TD: styled runs in the document, trimming, pausing, and clicks on links.
#include "game/TextWindow.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include "core/WireText.h"
#include "support/Fakes.h"

namespace gr::test {
namespace {

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
              "[big |ff8888 s30 i][http://x.org|ff0000 s30 i u]/[ab|333333 s8 i]/"
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

TEST_F(TextDisplay, PausedLinesWaitAndComeBackInSlotOrder) {
    TD.RenderLine("{ffffff{before");
    TD.Pause();
    EXPECT_TRUE(TD.TextPaused);
    for (int i = 0; i < 102; ++i)
        TD.PrintLine("{ffffff{line " + std::to_string(i));
    EXPECT_EQ("line 100", TD.PausedLines[100].substr(8)); // the 102nd line was dropped
    TD.PrintSystemLine("also dropped");
    EXPECT_EQ("[before|ffffff s8]/[Text paused.|00c000 s8]/", Runs());

    TD.ClearText();
    EXPECT_EQ("", Text());
    EXPECT_EQ("{ffffff{line 0", TD.PausedLines[0]);
    for (auto& line : TD.PausedLines)
        line.clear();
    TD.PausedLines[5] = "{ffffff{five";
    TD.PausedLines[2] = "{ffffff{two";
    TD.Resume();
    EXPECT_FALSE(TD.TextPaused);
    EXPECT_EQ("[Text resumed.|00c000 s8]/[two|ffffff s8]/[five|ffffff s8]/", Runs());
    for (const auto& line : TD.PausedLines)
        EXPECT_EQ("", line);
    TD.PrintLine("{ffffff{live");
    EXPECT_EQ("Text resumed.\ntwo\nfive\nlive\n", Text());
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
    QTextCursor at(TD.document());
    const auto pointAt = [&](int position) {
        at.setPosition(position);
        return TD.cursorRect(at).center();
    };
    QTest::mouseClick(TD.viewport(), Qt::LeftButton, {}, pointAt(2));
    EXPECT_TRUE(shell.Opened.isEmpty());
    QTest::mouseClick(TD.viewport(), Qt::LeftButton, {}, pointAt(10));
    EXPECT_EQ(QStringList{QStringLiteral("http://x.org/A?b=1")}, shell.Opened);
}

} // namespace
} // namespace gr::test
