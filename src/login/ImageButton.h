#pragma once
// A picture that acts as a button: it reports clicks and the mouse moving over it.
#include <QLabel>

namespace gr {

class ImageButton : public QLabel {
    Q_OBJECT
public:
    explicit ImageButton(QWidget* parent = nullptr);

signals:
    void clicked();
    void hovered();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace gr
