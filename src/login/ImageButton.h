#pragma once
// A picture that acts as a button: it reports clicks and the mouse moving over it, takes the keyboard focus
// (Tab), is pressed with Enter or Space, and shows a ring while it has the focus. To screen readers it is a
// push button under its accessible name.
#include <QAbstractButton>
#include <QPixmap>

namespace gr {

class ImageButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit ImageButton(QWidget* parent = nullptr);
    void setPixmap(const QPixmap& pixmap);
    QSize sizeHint() const override;

  signals:
    void hovered();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPixmap Picture;
};

} // namespace gr
