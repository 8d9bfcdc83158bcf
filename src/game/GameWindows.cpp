#include "game/GameWindows.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>
#include <cmath>

#include "core/BoundText.h"
#include "core/Numbers.h"
#include "core/WireText.h"
#include "platform/Dialogs.h"

namespace gr {

QString ShownText(const QString& text, std::size_t limit) {
    if (std::size_t(text.size()) <= limit) return text; // each character takes at least one byte
    const QByteArray bytes = text.toUtf8();
    return QString::fromUtf8(
        BoundText(std::string_view(bytes.constData(), std::size_t(bytes.size())), limit));
}

// ---- Web_Browser
// -------------------------------------------------------------------------------------------

QVariant PageView::loadResource(int type, const QUrl&) {
    ++ResourcesAsked;
    // Always an answer: with none, the document would look for the name on the disk itself.
    if (type == QTextDocument::ImageResource) {
        QImage frame(12, 12, QImage::Format_ARGB32);
        frame.fill(Qt::transparent);
        QPainter p(&frame);
        p.setPen(QColor(140, 122, 168));
        p.drawRect(0, 0, 11, 11);
        return frame;
    }
    return QString();
}

Web_Browser::Web_Browser(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Gloamrest - Web"));
    resize(720, 540);
    auto* back = new QWidget(this);
    auto* column = new QVBoxLayout(back);
    Address = new QLineEdit(back);
    Address->setReadOnly(true);
    Address->setAccessibleName(QStringLiteral("Page address"));
    Browser = new PageView(back);
    Browser->setOpenLinks(false);
    Browser->setAccessibleName(QStringLiteral("Page"));
    column->addWidget(Address);
    column->addWidget(Browser, 1);
    setCentralWidget(back);
    Network = new QNetworkAccessManager(this);
    connect(Browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { Navigate(QUrl(Address->text()).resolved(url).toString()); });
}

Web_Browser::~Web_Browser() {
    if (Pending) Pending->abort();
}

void Web_Browser::Navigate(const QString& address) {
    Address->setText(ShownText(address, kMaxAddressBytes));
    Address->setCursorPosition(0);
    if (Pending) {
        Pending->abort();
        Pending = nullptr;
    }
    if (std::size_t(address.size()) > kMaxAddressBytes) {
        Browser->setPlainText(QStringLiteral("This address is too long to be a web page."));
        return;
    }
    const QUrl url(address);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        Browser->setPlainText(QStringLiteral("Only web addresses (http and https) can be shown here."));
        return;
    }
    Browser->setPlainText(QStringLiteral("Loading..."));
    QNetworkReply* reply = Network->get(QNetworkRequest(url));
    Pending = reply;
    // The reply holds at most one byte more than a page is shown: then the page is shown cut and the rest
    // is never fetched.
    reply->setReadBufferSize(qint64(kMaxPageBytes) + 1);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        if (Pending != reply || reply->bytesAvailable() <= qint64(kMaxPageBytes)) return;
        Pending = nullptr;
        const QByteArray body = reply->readAll();
        const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
        reply->abort();
        ShowPage(body, type);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (Pending != reply) return;
        Pending = nullptr;
        if (reply->error() != QNetworkReply::NoError) {
            Browser->setPlainText(QStringLiteral("The page could not be loaded: ") +
                                  ShownText(reply->errorString(), kMaxAddressBytes));
            return;
        }
        ShowPage(reply->readAll(), reply->header(QNetworkRequest::ContentTypeHeader).toString());
    });
}

void Web_Browser::ShowPage(const QByteArray& body, const QString& contentType) {
    const QString page = QString::fromUtf8(
        BoundText(std::string_view(body.constData(), std::size_t(body.size())), kMaxPageBytes));
    if (contentType.contains(QLatin1String("html")))
        Browser->setHtml(page);
    else
        Browser->setPlainText(page);
}

// ---- AboutWindow ------------------------------------------------------------------------------------------

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Gloamrest"));
    auto* column = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumSize(380, 120);
    Text = new QLabel(scroll);
    Text->setWordWrap(true);
    Text->setTextFormat(Qt::PlainText);
    Text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    scroll->setWidget(Text);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    column->addWidget(scroll, 1);
    column->addWidget(ok, 0, Qt::AlignRight);
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);
}

void AboutWindow::ShowText(const QString& text) {
    Text->setText(text);
    show();
    raise();
}

// ---- Console ----------------------------------------------------------------------------------------------

Console::Console(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Gloamrest - Console"));
    resize(640, 420);
    Display = new QTextEdit(this);
    Display->setReadOnly(true);
    Display->setAccessibleName(QStringLiteral("Game text"));
    Display->setStyleSheet(QStringLiteral("QTextEdit { background: #0b0814; color: #d8d0e8; }"));
    setCentralWidget(Display);
}

void Console::ShowCopy(const QString& html) {
    Display->setHtml(html);
    Display->moveCursor(QTextCursor::End);
    show();
    raise();
}

// ---- DW ---------------------------------------------------------------------------------------------------

namespace {
const QString kTextBufferMessage = QStringLiteral("The default text buffer is 40000");
} // namespace

DW::DW(Dialogs& dialogs_, QWidget* parent) : QDialog(parent), dialogs(dialogs_) {
    auto* column = new QVBoxLayout(this);
    Message = new QLabel(this);
    auto* row = new QHBoxLayout;
    DepWith = new QLabel(this);
    Amount = new QLineEdit(this);
    DepWith2 = new QPushButton(this);
    DepWith2->setDefault(true);
    DepWith->setBuddy(Amount); // the amount box is named after its label
    row->addWidget(DepWith);
    row->addWidget(Amount, 1);
    row->addWidget(DepWith2);
    column->addWidget(Message);
    column->addLayout(row);
    connect(DepWith2, &QPushButton::clicked, this, &DW::DepWith2_Click);
}

void DW::OpenForGold(const QString& caption, std::function<void(const std::string&)> send) {
    Send = std::move(send);
    SetSize = nullptr;
    Amount->clear();
    Message->setText(QStringLiteral("How much gold would you like to"));
    setWindowTitle(ShownText(caption, kMaxTitleBytes));
    DepWith->setText(caption.size() > 7 && caption[7] == QLatin1Char(' ') ? caption.left(7)
                                                                          : caption.left(8));
    DepWith2->setText(QStringLiteral("&") + caption.left(8));
    show();
    activateWindow();
    Amount->setFocus(); // the player types the amount at once
}

void DW::OpenForTextBuffer(int currentSize, std::function<void(int)> setSize) {
    SetSize = std::move(setSize);
    Send = nullptr;
    Amount->setText(QString::number(currentSize));
    Message->setText(kTextBufferMessage);
    setWindowTitle(QStringLiteral("Text Buffer Size"));
    DepWith->setText(QStringLiteral("Characters"));
    DepWith2->setText(QStringLiteral("&Set"));
    show();
    activateWindow();
    Amount->selectAll();
    Amount->setFocus(); // the player types the size at once
}

bool DW::TextBufferMode() const {
    return Message->text() == kTextBufferMessage;
}

void DW::DepWith2_Click() {
    const std::string amount = ToWire(Amount->text());
    const double value = LeadingNumber(amount);
    if (value < 0) {
        dialogs.Message(QStringLiteral("Positive integers only please!"));
        return;
    }
    if (value != std::floor(value)) {
        dialogs.Message(QStringLiteral("Please enter an integer!"));
        return;
    }
    if (!TextBufferMode()) {
        std::string command = "/";
        command.append(ToWire(DepWith->text().toLower())).append(" ").append(amount);
        if (Send) Send(command);
        hide();
        return;
    }
    // An amount that is not a number sets nothing; the dialog stays open.
    const auto size = WholeNumber(amount);
    if (!size) return;
    if (*size < 1000) {
        SetSize(1000);
        dialogs.Message(QStringLiteral("Value must be greater than 1000 characters."));
    } else if (*size > 100000) {
        SetSize(100000);
        dialogs.Message(QStringLiteral("Value must be less than 100000 characters."));
    } else {
        SetSize(*size);
        hide();
    }
}

// ---- Icons ------------------------------------------------------------------------------------------------

QIcon WordPadIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A sheet of paper with a folded corner and lines of writing.
    QPainterPath sheet;
    sheet.moveTo(6, 2);
    sheet.lineTo(20, 2);
    sheet.lineTo(27, 9);
    sheet.lineTo(27, 30);
    sheet.lineTo(6, 30);
    sheet.closeSubpath();
    p.fillPath(sheet, QColor(250, 250, 250));
    p.setPen(QPen(QColor(60, 90, 150), 1.2));
    p.drawPath(sheet);
    p.drawLine(QPointF(20, 2), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(27, 9));
    p.setPen(QPen(QColor(40, 110, 200), 1.5));
    for (int y = 13; y <= 26; y += 4)
        p.drawLine(QPointF(10, y), QPointF(y % 8 ? 23 : 19, y));
    return QIcon(pixmap);
}

QIcon CloudIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    // A dusk cloud: three overlapping puffs over a flat base, amber on violet.
    QPainterPath cloud;
    cloud.addEllipse(QPointF(11, 18), 7, 6);
    cloud.addEllipse(QPointF(18, 13), 8, 8);
    cloud.addEllipse(QPointF(24, 19), 6, 5);
    cloud.addRoundedRect(QRectF(5, 18, 25, 7), 3, 3);
    cloud.setFillRule(Qt::WindingFill);
    QLinearGradient fill(0, 5, 0, 26);
    fill.setColorAt(0, QColor(0xf3, 0xd9, 0xa4));
    fill.setColorAt(1, QColor(0xc4, 0x8a, 0x3a));
    p.fillPath(cloud.simplified(), fill);
    p.setPen(QPen(QColor(0x4a, 0x3a, 0x73), 1.4));
    p.drawPath(cloud.simplified());
    return QIcon(pixmap);
}

} // namespace gr
