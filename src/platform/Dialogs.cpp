#include "platform/Dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace gr {

namespace {
QWidget* Parent() { return QApplication::activeWindow(); }
} // namespace

void MessageBoxDialogs::Message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Gloamrest"), text, QMessageBox::Ok, Parent());
    box.exec();
}

bool MessageBoxDialogs::Ask(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Gloamrest"), text, QMessageBox::Yes | QMessageBox::No,
                    Parent());
    return box.exec() == QMessageBox::Yes;
}

} // namespace gr
