#include "panels/HighlightFrame.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace gr {

HighlightFrame::HighlightFrame(const QColor& outline, QWidget* parent) : QWidget(parent), Outline(outline) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void HighlightFrame::SetSkin(const SkinFrame& frame) {
    if (!frame.Rect) return;
    Rect = frame.Rect;
    const std::uint32_t bgr = frame.FillColour.value_or(0);
    Fill = QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
    Shape = frame.Shape.value_or(HighlightShapeCode::Rectangle);
    update();
}

void HighlightFrame::PlaceFor(QWidget* button, int windowWidth, int windowHeight, int outlineMargin) {
    if (Rect) {
        const PixelRect r = Place(*Rect, windowWidth, windowHeight);
        setGeometry(r.Left, r.Top, r.Width, r.Height);
        stackUnder(button);
    } else {
        setGeometry(
            button->geometry().adjusted(-outlineMargin, -outlineMargin, outlineMargin, outlineMargin));
        raise();
    }
}

void HighlightFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!Rect) {
        p.setPen(QPen(Outline, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
        return;
    }
    // Squares and circles take the shorter side and stand in the middle, as the skin's shapes do.
    QRectF box = rect();
    const bool even = Shape == HighlightShapeCode::Square || Shape == HighlightShapeCode::Circle ||
                      Shape == HighlightShapeCode::RoundedSquare;
    if (even) {
        const double side = std::min(box.width(), box.height());
        box = QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    }
    const double corner = std::min(box.width(), box.height()) / 6;
    p.setPen(Qt::NoPen);
    p.setBrush(Fill);
    switch (Shape) {
    case HighlightShapeCode::Oval:
    case HighlightShapeCode::Circle:
        p.drawEllipse(box);
        break;
    case HighlightShapeCode::RoundedRectangle:
    case HighlightShapeCode::RoundedSquare:
        p.drawRoundedRect(box, corner, corner);
        break;
    case HighlightShapeCode::Rectangle:
    case HighlightShapeCode::Square:
        p.drawRect(box);
        break;
    }
}

} // namespace gr
