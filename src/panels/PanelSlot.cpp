#include "panels/PanelSlot.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "core/BoundText.h"
#include "core/WireText.h"
#include "panels/Contrast.h"
#include "downloads/PictureSource.h"

namespace gr {

namespace {
constexpr std::uint32_t kWellColour = 0x201418; // the panels' wells, 0xBBGGRR
constexpr std::uint32_t kPanelText = 0xf0e0e8;  // the panels' own text colour, 0xBBGGRR
constexpr int kMinNamePixels = 8; // smaller text is not read comfortably
} // namespace

PanelSlot::PanelSlot(QWidget* parent) : QLabel(parent) {
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setScaledContents(true);
}

void PanelSlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        emit pressed(event->button() == Qt::LeftButton);
    event->accept();
}

bool PanelSlot::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        // Shown escaped: a tooltip that looks like markup would otherwise be laid out as a page.
        const QString tip = toolTip();
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                               QStringLiteral("<p style='white-space:pre'>") + tip.toHtmlEscaped() +
                                   QStringLiteral("</p>"),
                               this);
        return true;
    }
    return QLabel::event(event);
}

void PanelSlot::paintEvent(QPaintEvent* event) {
    if (text().isEmpty() || !pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    const QRect room = contentsRect();
    const FittedText fitted =
        FitText(font(), room, int(alignment()) | (wordWrap() ? int(Qt::TextWordWrap) : 0), text());
    QPainter p(this);
    p.setFont(fitted.Font);
    p.setPen(palette().color(foregroundRole()));
    p.drawText(room, fitted.Flags, fitted.Text);
}

FittedText FitText(const QFont& font, const QRect& room, int flags, const QString& text) {
    const auto fits = [&](const QFont& f) {
        const QRect need = QFontMetrics(f).boundingRect(room, flags, text);
        return need.height() <= room.height() && need.width() <= room.width();
    };
    QFont f = font;
    for (int pixels = QFontInfo(f).pixelSize(); pixels > kMinNamePixels && !fits(f);)
        f.setPixelSize(--pixels);
    if (fits(f)) return {f, text, flags};
    return {f, QFontMetrics(f).elidedText(text.simplified(), Qt::ElideRight, room.width()),
            flags & ~int(Qt::TextWordWrap)};
}

PanelButton::PanelButton(QWidget* parent) : QPushButton(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void PanelButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
        emit pressed(event->button() == Qt::LeftButton);
    QPushButton::mousePressEvent(event);
}

void ShowPicture(PanelSlot* slot, PictureSource& pictures, int number) {
    const bool served = number >= kFirstPictureNumber && number <= kLastPictureNumber;
    slot->Picture = served ? number : 0;
    const QPixmap picture = served ? pictures.Picture(number) : QPixmap();
    if (picture.isNull())
        slot->clear();
    else
        slot->setPixmap(picture);
}

void RefreshPicture(PanelSlot* slot, PictureSource& pictures, int number) {
    if (slot->Picture != 0 && slot->Picture == number) ShowPicture(slot, pictures, number);
}

QString PanelText(const std::string& text) {
    return FromWire(BoundText(text, kMaxTitleBytes));
}

QColor ReadableColour(std::uint32_t bgr) {
    if (ContrastRatio(bgr, kWellColour) < kMinTextContrast) bgr = kPanelText;
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

void PlaceWidget(QWidget* widget, const LayoutRect& rect, int width, int height) {
    const PixelRect r = Place(rect, width, height);
    widget->setGeometry(r.Left, r.Top, r.Width, r.Height);
}

} // namespace gr
