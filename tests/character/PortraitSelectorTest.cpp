// The portrait selector on its own: the current portrait marked, a choice sent as "/portrait N", and each
// portrait redrawn when its picture arrives.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <set>

#include "character/PortraitSelector.h"
#include "downloads/PictureSource.h"
#include "support/Accessibility.h"

namespace gr::test {
namespace {

// Pictures by number: a grey square until "arrived", then a colour of its own.
class Pictures final : public PictureSource {
  public:
    QPixmap Picture(int number) override {
        Asked.push_back(number);
        QPixmap p(40, 40);
        p.fill(Arrived.count(number) ? QColor(number % 256, 80, 40) : QColor(Qt::gray));
        return p;
    }
    std::vector<int> Asked;
    std::set<int> Arrived;
};

TEST(PortraitSelector, MarksTheCurrentOneAndSendsTheChoice) {
    Pictures pictures;
    std::vector<std::string> sent;
    Character_Portrait_Selector s(pictures, 7, [&](int i) { sent.push_back(PortraitCommand(i)); });
    // Picture kind 5: the forty portraits, in order.
    ASSERT_EQ(40u, pictures.Asked.size());
    EXPECT_EQ(1149, pictures.Asked.front());
    EXPECT_EQ(1273, pictures.Asked.back());
    EXPECT_TRUE(s.HavePic[7]->isChecked());
    EXPECT_EQ(QStringLiteral("Portrait 8 (current)"), s.HavePic[7]->accessibleName());
    s.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s));
    s.HavePic[7]->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(std::vector<std::string>{"/portrait 8"}, sent);
    EXPECT_EQ(8, s.Current());
    EXPECT_FALSE(s.HavePic[7]->isChecked());
    EXPECT_TRUE(s.HavePic[8]->isChecked());
    EXPECT_EQ(QStringLiteral("Portrait 9 (current)"), s.HavePic[8]->accessibleName());
    // Choosing the current one again sends nothing and keeps it marked.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(1u, sent.size());
    EXPECT_TRUE(s.HavePic[8]->isChecked());

    const AccessibleTree tree = Accessible(&s);
    EXPECT_TRUE(tree.Unnamed.isEmpty()) << tree.Unnamed.join(", ").toStdString();
    EXPECT_TRUE(tree.Shared.isEmpty()) << tree.Shared.join(", ").toStdString();
}

TEST(PortraitSelector, UnknownCurrentMarksNoneAndArrivalsRedraw) {
    Pictures pictures;
    Character_Portrait_Selector s(pictures, 40, {});
    EXPECT_EQ(-1, s.Current());
    for (auto* b : s.HavePic)
        EXPECT_FALSE(b->isChecked());
    const QImage before = s.HavePic[25]->icon().pixmap(38, 38).toImage();
    pictures.Arrived.insert(1253);
    s.PictureArrived(1253);
    EXPECT_NE(before, s.HavePic[25]->icon().pixmap(38, 38).toImage());
    EXPECT_EQ(before, s.HavePic[24]->icon().pixmap(38, 38).toImage());
    EXPECT_EQ("/portrait 0", PortraitCommand(0));
}

} // namespace
} // namespace gr::test
