#include "platform/Dialogs.h"

#include <QApplication>
#include <QMessageBox>

#include "core/BoundText.h"

namespace gr {

const QString Dialogs::CutMark = QString::fromLatin1(kCutMark.data(), qsizetype(kCutMark.size()));

QString Dialogs::Bounded(const QString& text) {
    qsizetype cut = text.size() > kMaxChars ? kMaxChars : -1;
    int lines = 1;
    for (qsizetype i = 0; i < text.size() && (cut < 0 || i < cut); ++i) {
        if (text[i] == QLatin1Char('\n') && ++lines > kMaxLines) {
            cut = i;
            break;
        }
    }
    return cut < 0 ? text : text.left(cut) + CutMark;
}

namespace {
QWidget* Parent() {
    return QApplication::activeWindow();
}

int Show(const QString& text, QMessageBox::StandardButtons buttons,
         QMessageBox::Icon icon = QMessageBox::NoIcon) {
    QMessageBox box(icon, QStringLiteral("Gloamrest"), text, buttons, Parent());
    // Server text is shown as it stands: never taken as markup, which could load pictures from local paths.
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}
} // namespace

void MessageBoxDialogs::ShowMessage(const QString& text) {
    Show(text, QMessageBox::Ok);
}

bool MessageBoxDialogs::ShowQuestion(const QString& text) {
    return Show(text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void MessageBoxDialogs::ShowWarning(const QString& text) {
    Show(text, QMessageBox::Ok, QMessageBox::Warning);
}

} // namespace gr
