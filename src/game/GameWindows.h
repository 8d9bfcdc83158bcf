#pragma once
// The small windows the game window opens: the web page viewer, the About window, the console copy of the
// game text and the amount dialog (gold, or the text buffer size).
#include <QDialog>
#include <QMainWindow>
#include <QTextBrowser>
#include <cstddef>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;
class QTextEdit;

namespace gr {

class Dialogs;

// Server text for a label, a title or the viewer, bounded (core/BoundText.h) to limit bytes of UTF-8.
QString ShownText(const QString& text, std::size_t limit);

// The viewer's page: rich text from the web, which may name pictures and style sheets anywhere. It loads
// none of them: not from the disk (a page must not read the player's files, nor a device that never
// ends), not from the program's resources, and not from the web either; a picture shows as a small
// empty frame.
class PageView : public QTextBrowser {
    Q_OBJECT
  public:
    using QTextBrowser::QTextBrowser;
    int ResourcesAsked = 0; // how often the page asked for something it refers to

  protected:
    QVariant loadResource(int type, const QUrl& name) override;
};

// Shows a web page the server names. Only http and https addresses are fetched; the page is shown as
// rich text up to kMaxPageBytes (more is cut with a mark), and links inside it open in the same viewer.
class Web_Browser : public QMainWindow {
    Q_OBJECT
public:
    explicit Web_Browser(QWidget* parent = nullptr);
    ~Web_Browser() override;
    void Navigate(const QString& address);
    // Shows a page's body: as rich text when its type is html, as plain text otherwise.
    void ShowPage(const QByteArray& body, const QString& contentType);

    QLineEdit* Address = nullptr;
    PageView* Browser = nullptr;

private:
    QNetworkAccessManager* Network = nullptr;
    QNetworkReply* Pending = nullptr;
};

// Shows the text the server sent with "ABOUT", bounded, in a box that scrolls.
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
