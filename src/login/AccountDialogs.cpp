#include "login/AccountDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/App.h"
#include "core/BoundText.h"
#include "core/WireText.h"
#include "login/Lodge.h"
#include "platform/Dialogs.h"

namespace gr {

namespace {
// OK and Cancel under the form; OK runs submit and closes the dialog when it is done.
template <typename D> void AddButtons(D* dialog, QFormLayout* form, const QString& okText) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(okText);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, [dialog] {
        if (dialog->Submit()) dialog->accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
}

// The refusals carry the server's error keyword in front; the player reads only the sentence.
QString Readable(const std::string& refusal) {
    constexpr std::string_view keyword = "AccountError";
    const std::string_view text = std::string_view(refusal).starts_with(keyword)
                                      ? std::string_view(refusal).substr(keyword.size())
                                      : std::string_view(refusal);
    return FromWire(text);
}
} // namespace

ChangePasswordDialog::ChangePasswordDialog(App& app_, QWidget* parent) : QDialog(parent), app(app_) {
    setWindowTitle(QStringLiteral("Change Password - Gloamrest"));
    setMinimumWidth(380);
    auto* form = new QFormLayout(this);
    NewPassword = new QLineEdit(this);
    NewPassword->setEchoMode(QLineEdit::Password);
    ConfirmPassword = new QLineEdit(this);
    ConfirmPassword->setEchoMode(QLineEdit::Password);
    form->addRow(new QLabel(QStringLiteral("At least 10 characters, 2 of them numbers."), this));
    form->addRow(QStringLiteral("New password:"), NewPassword);
    form->addRow(QStringLiteral("Type it again:"), ConfirmPassword);
    NewPassword->setAccessibleName(QStringLiteral("New password"));
    ConfirmPassword->setAccessibleName(QStringLiteral("Type the new password again"));
    AddButtons(this, form, QStringLiteral("Change"));
}

bool ChangePasswordDialog::Submit() {
    const std::string password = ToWire(NewPassword->text());
    if (const auto refusal = PasswordRefusal(password, ToWire(ConfirmPassword->text()))) {
        app.platform.dialogs.Message(Readable(*refusal));
        return false;
    }
    if (!app.lodge->SendToServer("AccountChangePass" + password)) return true;
    // From now on the account has this password: "Refresh" and every later log-in of the run use it. The
    // client keeps the password nowhere else (the settings hold only the account name).
    app.lodge->Password->setText(FromWire(password));
    return true;
}

ChangeEmailDialog::ChangeEmailDialog(App& app_, QWidget* parent) : QDialog(parent), app(app_) {
    setWindowTitle(QStringLiteral("Change E-mail - Gloamrest"));
    setMinimumWidth(380);
    auto* form = new QFormLayout(this);
    CurrentEmail = new QLabel(FromWire(BoundText(app.Account.AccountEmail, kMaxTitleBytes)), this);
    CurrentEmail->setTextFormat(Qt::PlainText); // the server's text, never markup
    NewEmail = new QLineEdit(this);
    form->addRow(QStringLiteral("Current address:"), CurrentEmail);
    form->addRow(QStringLiteral("New address:"), NewEmail);
    CurrentEmail->setAccessibleName(QStringLiteral("Current address"));
    NewEmail->setAccessibleName(QStringLiteral("New address"));
    AddButtons(this, form, QStringLiteral("Change"));
}

bool ChangeEmailDialog::Submit() {
    const std::string address = ToWire(NewEmail->text().trimmed());
    if (address.empty()) {
        app.platform.dialogs.Message(QStringLiteral("Type the new e-mail address first."));
        return false;
    }
    app.lodge->SendToServer("AccountChangeEmail" + address);
    return true;
}

DeleteCharacterDialog::DeleteCharacterDialog(App& app_, QWidget* parent) : QDialog(parent), app(app_) {
    setWindowTitle(QStringLiteral("Delete Character - Gloamrest"));
    setMinimumWidth(320);
    auto* form = new QFormLayout(this);
    Character = new QComboBox(this);
    for (const auto& record : app.Account.CritTable)
        if (!record[0].empty()) Character->addItem(FromWire(record[0]));
    form->addRow(QStringLiteral("Character:"), Character);
    Character->setAccessibleName(QStringLiteral("Character to delete"));
    AddButtons(this, form, QStringLiteral("Delete"));
}

bool DeleteCharacterDialog::Submit() {
    const QString name = Character->currentText();
    if (name.isEmpty()) return true;
    if (!app.platform.dialogs.Ask(QStringLiteral("Delete ") + name +
                                  QStringLiteral(" for good? A deleted character cannot be brought back.")))
        return false;
    if (!app.lodge->SendToServer("AccountDeleteCrit" + ToWire(name))) return true;
    // The server drops the connection next; the closing then says why.
    app.Wire.CharacterDeleted = 1;
    return true;
}

} // namespace gr
