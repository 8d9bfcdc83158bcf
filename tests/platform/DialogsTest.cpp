// Message boxes show server text, bounded so that a box of megabytes cannot freeze the window.
#include <gtest/gtest.h>

#include "platform/Dialogs.h"

namespace gr {
namespace {

TEST(Dialogs, TextIsCutAtTheBoundsWithAMark) {
    const QString lines = QStringLiteral("line\n").repeated(Dialogs::kMaxLines + 10);
    const struct {
        QString text;
        QString shown;
    } cases[] = {
        {QStringLiteral("Short and whole."), QStringLiteral("Short and whole.")},
        {QString(Dialogs::kMaxChars, QLatin1Char('a')), QString(Dialogs::kMaxChars, QLatin1Char('a'))},
        {QString(Dialogs::kMaxChars + 1, QLatin1Char('a')),
         QString(Dialogs::kMaxChars, QLatin1Char('a')) + Dialogs::CutMark},
        {QString(4 << 20, QLatin1Char('z')),
         QString(Dialogs::kMaxChars, QLatin1Char('z')) + Dialogs::CutMark},
        {lines, QStringLiteral("line\n").repeated(Dialogs::kMaxLines - 1) + QStringLiteral("line") +
                    Dialogs::CutMark},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.shown, Dialogs::Bounded(c.text)) << c.text.left(20).toStdString();
}

} // namespace
} // namespace gr
