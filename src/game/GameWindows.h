#pragma once
// The small windows the game window opens: the web page viewer, the About window, the console copy of the
// game text and the amount dialog (gold, or the text buffer size).
#include <QDialog>
#include <QMainWindow>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class QTextBrowser;
class QTextEdit;

namespace gr {

class Dialogs;

// Shows a web page the server names. Only http and https addresses are fetched; the page is shown as
// rich text, and links inside it open in the same viewer.
class Web_Browser : public QMainWindow {
    Q_OBJECT
public:
    // A page is read up to this size: the viewer shows documents, not downloads.
    static constexpr qint64 kMaxPageBytes = 4 * 1024 * 1024;

    explicit Web_Browser(QWidget* parent = nullptr);
    ~Web_Browser() override;
    void Navigate(const QString& address);

    QLineEdit* Address = nullptr;
    QTextBrowser* Browser = nullptr;

private:
    QNetworkAccessManager* Network = nullptr;
    QNetworkReply* Pending = nullptr;
};

// Shows the text the server sent with "ABOUT".
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
    void ShowText(const QString& text);
    QLabel* Text = nullptr;
};

// A copy of the game text, with its formatting, to read or copy from at leisure.
class Console : public QMainWindow {
    Q_OBJECT
public:
    explicit Console(QWidget* parent = nullptr);
    void ShowCopy(const QString& html);
    QTextEdit* Display = nullptr;
};

// Asks for an amount: gold to deposit or withdraw, or, in text-buffer mode, the game text's buffer size.
class DW : public QDialog {
    Q_OBJECT
public:
    DW(Dialogs& dialogs, QWidget* parent = nullptr);

    // Gold mode for a command button's caption (ending "Gold"); send receives the command to send.
    void OpenForGold(const QString& caption, std::function<void(const std::string&)> send);
    // Text-buffer mode: the answer goes to setSize.
    void OpenForTextBuffer(int currentSize, std::function<void(int)> setSize);
    void DepWith2_Click();
    bool TextBufferMode() const;

    QLineEdit* Amount = nullptr;
    QLabel* Message = nullptr;
    QLabel* DepWith = nullptr;
    QPushButton* DepWith2 = nullptr;

private:
    Dialogs& dialogs;
    std::function<void(const std::string&)> Send;
    std::function<void(int)> SetSize;
};

// The two window icons of the taskbar disguise, painted once.
QIcon WordPadIcon();
QIcon CloudIcon();

} // namespace gr
