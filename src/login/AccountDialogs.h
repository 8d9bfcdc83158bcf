#pragma once
// The account dialogs of the account manager. Each sends one account message to the server.
#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gr {

class App;

// A new password, typed twice. Refused when the two differ, when it is shorter than 10 characters or when
// it holds fewer than 2 digits.
class ChangePasswordDialog : public QDialog {
    Q_OBJECT
public:
    ChangePasswordDialog(App& app, QWidget* parent = nullptr);
    // Checks and sends; true when the dialog is done.
    bool Submit();

    QLineEdit* NewPassword = nullptr;
    QLineEdit* ConfirmPassword = nullptr;

private:
    App& app;
};

// The account's e-mail address as the server gave it, and a new one.
class ChangeEmailDialog : public QDialog {
    Q_OBJECT
public:
    ChangeEmailDialog(App& app, QWidget* parent = nullptr);
    bool Submit();

    QLabel* CurrentEmail = nullptr;
    QLineEdit* NewEmail = nullptr;

private:
    App& app;
};

// Deletes one of the account's characters for good; the server then drops the connection.
class DeleteCharacterDialog : public QDialog {
    Q_OBJECT
public:
    DeleteCharacterDialog(App& app, QWidget* parent = nullptr);
    bool Submit();

    QComboBox* Character = nullptr;

private:
    App& app;
};

} // namespace gr
