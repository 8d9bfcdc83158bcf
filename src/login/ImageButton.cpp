#include "login/ImageButton.h"

#include <QMouseEvent>

namespace gr {

ImageButton::ImageButton(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    emit hovered();
    event->accept();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
    event->accept();
}

} // namespace gr
