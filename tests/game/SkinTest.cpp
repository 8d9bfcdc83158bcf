// The game window in a skin: applied at start from the "Skin" setting, half applied with the message when
// a line is bad, forgotten when its file is gone, and chosen in the skin chooser from the local server's
// web host, where it applies at once.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "devserver/Skins.h"
#include "devserver/WebHost.h"
#include "panels/CommandsPanel.h"
#include "panels/HighlightFrame.h"
#include "panels/MouseActionsPanel.h"
#include "panels/SpellsPanel.h"
#include "panels/StatusPanel.h"
#include "text/TextWindow.h"
#include "skin/Rescale.h"
#include "skin/SkinChooser.h"
#include "skin/SkinFile.h"
#include "support/GameFixture.h"
#include "support/WebHost.h"

namespace gr::test {
namespace {

class Skin : public GameFixture {
  protected:
    void Place(const QString& file, const QByteArray& bytes) {
        QDir(Home.path()).mkpath(QStringLiteral("skins"));
        QFile f(QDir(Home.path()).filePath(QStringLiteral("skins/") + file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    void PlaceSkin(const std::string& name) {
        Place(QString::fromStdString(name) + QStringLiteral(".skn"),
              QByteArray::fromStdString(dev::MakeSkinFile(name)));
        Place(QString::fromStdString(name) + QStringLiteral(".jpg"), dev::MakeSkinPicture(name));
    }
    static QRect At(const QWidget* w) { return w->geometry(); }
    static QRect Expected(const LayoutRect& r, const QWidget* back) {
        const PixelRect p = gr::Place(r, back->width(), back->height());
        return QRect(p.Left, p.Top, p.Width, p.Height);
    }
};

TEST_F(Skin, TheChosenSkinAppliesAtStart) {
    PlaceSkin("harbour");
    PresetSetting(QStringLiteral("Skin"), QStringLiteral("harbour.skn"));
    Game& g = Entered();
    const SkinOutcome expected = ApplySkin(dev::MakeSkinFile("harbour"), DefaultGameLayout());
    ASSERT_FALSE(expected.Failure);
    EXPECT_EQ(expected.Layout.TD, g.Layout.TD);
    EXPECT_NE(DefaultGameLayout().TD, g.Layout.TD);
    EXPECT_EQ(Expected(g.Layout.TD, g.MainBack), At(g.TD));
    EXPECT_EQ(QStringLiteral("Str"), g.Status->Captions[0]->text());
    EXPECT_EQ(*expected.Look.BarColours[4], g.BarColours[4]);
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(QStringLiteral("harbour.skn"), app->GetSetting(QStringLiteral("Skin")));

    // The skin's narrow command buttons still show every caption whole.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    Tick({"MainCommandsLook Around/Deposit Gold/Withdraw Gold/"});
    for (QPushButton* button : g.ComPanel->Com) {
        if (!button->isVisible()) continue;
        EXPECT_LE(QFontMetrics(button->font()).horizontalAdvance(button->text()), button->width() - 8)
            << button->text().toStdString();
    }
}

TEST_F(Skin, ResizingScalesPlacesFontsAndBarsAndComesBackExactly) {
    PlaceSkin("harbour");
    PresetSetting(QStringLiteral("Skin"), QStringLiteral("harbour.skn"));
    Game& g = Entered();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    Tick({"HPChange25/100"});
    const SkinLook look = ApplySkin(dev::MakeSkinFile("harbour"), DefaultGameLayout()).Look;
    const double spellPoints = *look.SpellNameN[0].FontSize, captionPoints = *look.Captions[0].FontSize;
    const QSize designSize = g.size();
    const int designWidth = g.MainBack->width();
    ASSERT_EQ(int(kDesignWidth), designWidth);
    auto shown = [&] {
        return std::tuple{At(g.TD),
                          At(g.SpellPanel->SpellButton[0]),
                          g.SpellPanel->SpellNameN[0]->font().pointSize(),
                          g.Status->Captions[0]->font().pointSize(),
                          g.Status->Bar[4]->width(),
                          At(g.Status->Bar[5])};
    };
    const auto atDesign = shown();
    EXPECT_EQ(RescaledFontSize(spellPoints, 1), g.SpellPanel->SpellNameN[0]->font().pointSize());
    EXPECT_EQ(RescaledFontSize(captionPoints, 1), g.Status->Captions[0]->font().pointSize());

    // Twice as wide: places from the layout at the new size, text by the rounding rule, and the hit point
    // bar still shows a quarter.
    g.resize(designSize.width() + designWidth, designSize.height());
    ASSERT_TRUE(WaitFor([&] { return g.MainBack->width() == 2 * designWidth; }));
    EXPECT_EQ(Expected(g.Layout.TD, g.MainBack), At(g.TD));
    EXPECT_NEAR(2 * std::get<0>(atDesign).width(), At(g.TD).width(), 1);
    EXPECT_EQ(RescaledFontSize(spellPoints, 0.5), g.SpellPanel->SpellNameN[0]->font().pointSize());
    EXPECT_EQ(RescaledFontSize(captionPoints, 0.5), g.Status->Captions[0]->font().pointSize());
    EXPECT_NEAR(0.25, double(g.Status->Bar[4]->width()) / g.Status->Bar[5]->width(), 0.01);

    // Back at the first size everything is exactly as it was: nothing accumulates.
    g.resize(designSize);
    ASSERT_TRUE(WaitFor([&] { return g.MainBack->width() == designWidth; }));
    EXPECT_EQ(atDesign, shown());
}

TEST_F(Skin, HighlightFramesTakeTheSkinsColourShapeAndPlaceBehindTheirButtons) {
    PlaceSkin("harbour"); // circles
    PresetSetting(QStringLiteral("Skin"), QStringLiteral("harbour.skn"));
    Game& g = Entered();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    const SkinLook look = ApplySkin(dev::MakeSkinFile("harbour"), DefaultGameLayout()).Look;
    ASSERT_EQ(HighlightShapeCode::Circle, *look.HighlightShape);
    Tick({"SLFire/Heal/"});
    QTest::mouseClick(g.SpellPanel->SpellNameN[1], Qt::LeftButton);
    QTest::mouseClick(g.MousePanel->ButtonMouse2[2], Qt::RightButton);

    const auto behind = [](const QWidget* frame, const QWidget* button) {
        const QObjectList& order = button->parentWidget()->children();
        return order.indexOf(frame) < order.indexOf(button);
    };
    struct Case {
        HighlightFrame* Frame;
        QWidget* Button;
        const SkinFrame& Skin;
    };
    for (const Case& c :
         {Case{g.SpellPanel->SpellFrameR[1], g.SpellPanel->SpellButton[1], look.SpellButtonR[1]},
          Case{g.MousePanel->ButtonMousePicB[2], g.MousePanel->ButtonMouse2[2], look.ButtonMousePicB[2]}}) {
        EXPECT_TRUE(c.Frame->isVisible());
        EXPECT_EQ(Expected(*c.Skin.Rect, g.MainBack), At(c.Frame));
        EXPECT_TRUE(behind(c.Frame, c.Button)) << "the frame is a halo behind its button";
        QImage drawn(c.Frame->size(), QImage::Format_ARGB32);
        drawn.fill(Qt::transparent);
        c.Frame->render(&drawn, QPoint(), QRegion(), QWidget::DrawChildren); // the frame alone
        const std::uint32_t bgr = *c.Skin.FillColour;
        EXPECT_EQ(QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF)).rgb(),
                  drawn.pixel(drawn.width() / 2, drawn.height() / 2));
        EXPECT_EQ(0, qAlpha(drawn.pixel(0, 0))) << "a circle leaves the corners clear";
    }
    EXPECT_FALSE(g.SpellPanel->SpellFrameR[0]->isVisible());
    EXPECT_FALSE(g.SpellPanel->SpellFrameB[1]->isVisible());
}

TEST_F(Skin, ABadLineLeavesWhatCameBeforeItAndTheWindowPlays) {
    std::string text = dev::MakeSkinFile("harbour");
    // Line 106 (the first status value's place) is no rectangle: captions are set, values are not.
    std::size_t at = 0;
    for (int line = 0; line < 106; ++line)
        at = text.find("\r\n", at) + 2;
    text.replace(at, text.find("\r\n", at) - at, "Data0=not,a,rect");
    Place(QStringLiteral("broken.skn"), QByteArray::fromStdString(text));
    Place(QStringLiteral("harbour.jpg"), dev::MakeSkinPicture("harbour"));
    PresetSetting(QStringLiteral("Skin"), QStringLiteral("broken.skn"));
    Game& g = Entered();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == g.TI; }));
    EXPECT_EQ(QStringList{QString::fromLatin1(kSkinFormatMessage.data())}, dialogs.Shown);
    EXPECT_EQ(QStringLiteral("Str"), g.Status->Captions[0]->text()) << "captions come before the bad line";
    EXPECT_EQ(DefaultGameLayout().Data[1], g.Layout.Data[1]) << "what follows keeps its place";
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hello"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(std::vector<std::string>{"GeneralChathello"}, Sent());
}

TEST_F(Skin, AMissingSkinIsForgottenAndAPathIsNoSkin) {
    PresetSetting(QStringLiteral("Skin"), QStringLiteral("gone.skn"));
    Game& g = Entered();
    EXPECT_EQ(QString(), app->GetSetting(QStringLiteral("Skin")));
    EXPECT_EQ(DefaultGameLayout().TD, g.Layout.TD);
    EXPECT_EQ("&H0000C000", g.BarColours[4]);
    PlaceSkin("dusk");
    EXPECT_FALSE(g.LoadSkin(QStringLiteral("../skins/dusk.skn")));
    EXPECT_TRUE(dialogs.Shown.isEmpty());
}

TEST_F(Skin, TheChooserFetchesAndAppliesASkinAtOnce) {
    dev::WebHost web;
    ASSERT_TRUE(web.listen(0)) << web.errorString().toStdString();
    QStringList asked;
    QObject::connect(&web, &dev::WebHost::served, [&](const dev::WebRequest& r) { asked << r.Target; });
    WriteDeployment(QStringLiteral("[Hosts]\nPrimary=127.0.0.1\nWeb=127.0.0.1:%1\n").arg(web.port()));
    Game& g = Entered();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&g));
    g.Skins->trigger();
    ASSERT_TRUE(g.SkinWindow);
    SkinChooser& chooser = *g.SkinWindow;
    ASSERT_TRUE(WaitFor([&] { return chooser.SkinListBox->count() == 3; }));
    EXPECT_EQ(QStringLiteral("Built-in look"), chooser.SkinListBox->item(0)->text());
    ASSERT_TRUE(WaitFor([&] { return QApplication::focusWidget() == chooser.SkinListBox; }));
    // The player walks down to the second skin offered and takes it with Enter.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    const QString chosen = chooser.SkinListBox->currentItem()->text();
    const std::string base = chooser.Offered[1].BaseName;
    const QString picture = QStringLiteral("/grskins/%1.jpg").arg(QString::fromStdString(base));
    // Its picture shows, fetched once.
    ASSERT_TRUE(WaitFor([&] { return !chooser.Preview->pixmap().isNull(); }));
    QTest::qWait(100);
    EXPECT_EQ(1, std::count(asked.begin(), asked.end(), picture));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return !app->GetSetting(QStringLiteral("Skin")).isEmpty(); }))
        << chosen.toStdString();
    EXPECT_EQ(QString::fromStdString(base) + QStringLiteral(".skn"), app->GetSetting(QStringLiteral("Skin")));
    EXPECT_EQ(
        QByteArray::fromStdString(dev::MakeSkinFile(base)),
        FileBytes(
            QDir(Home.path()).filePath(QStringLiteral("skins/%1.skn").arg(QString::fromStdString(base)))));
    EXPECT_EQ(ApplySkin(dev::MakeSkinFile(base), DefaultGameLayout()).Layout, g.Layout);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(dialogs.Shown.isEmpty()) << dialogs.Shown.join(QLatin1Char('|')).toStdString();
}

} // namespace
} // namespace gr::test
