#include "login/ImageButton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace gr {

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void ImageButton::setPixmap(const QPixmap& pixmap) {
    Picture = pixmap;
    update();
}

QSize ImageButton::sizeHint() const {
    return Picture.isNull() ? QSize(16, 16) : Picture.size();
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, Picture);
    if (!hasFocus()) return;
    // The focus ring: light on the dark window, inside the button's own area.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xf3, 0xd9, 0xa4), 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    emit hovered();
    QAbstractButton::mouseMoveEvent(event);
    // Handled here: the window behind must not take it as the mouse leaving the button.
    event->accept();
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    // Space presses the button as on every button; Enter does too, as on the log-in form's other controls.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        event->accept();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}

} // namespace gr
