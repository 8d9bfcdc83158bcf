#pragma once
// What the game window's panels share: the slot control (a picture or a caption that reports left and right
// presses), the button that does the same, and what a panel needs from the window around it.
#include <QLabel>
#include <QPushButton>
#include <functional>
#include <string>

#include "panels/PanelRules.h"
#include "skin/Layout.h"

namespace gr {

class PictureSource;

// What the panels get from the game window: pictures, the mouse bindings, and the ways to answer a click.
struct PanelContext {
    PictureSource& Pictures;
    Bindings& MouseBindings;
    std::function<void(const std::string&)> Send;  // one command to the server
    std::function<void(const std::string&)> Print; // a system line in the game text
    std::function<void()> Refocus;                 // the input line takes the keyboard again
    std::function<void()> BindingsChanged;         // redraw every binding marker
};

// A panel slot: a picture or a caption. The server names what it shows, so its tooltip is shown as plain
// text, never as markup. Presses of the left and right button are reported; it never takes the keyboard.
class PanelSlot : public QLabel {
    Q_OBJECT
  public:
    explicit PanelSlot(QWidget* parent);
    int Picture = 0; // the picture number the slot shows (0: none)

  signals:
    void pressed(bool left);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    // A name that does not fit its slot is drawn smaller, down to a readable size, then on one line cut
    // with an ellipsis: a skin's small slots never show half a line.
    void paintEvent(QPaintEvent* event) override;
};

// How a slot's text is drawn in its room: the font, smaller when needed down to a readable size, and the
// text, on one line cut with an ellipsis when even that does not fit.
struct FittedText {
    QFont Font;
    QString Text;
    int Flags; // Qt alignment and wrapping flags
};
FittedText FitText(const QFont& font, const QRect& room, int flags, const QString& text);

// A panel button that reports left and right presses and never takes the keyboard.
class PanelButton : public QPushButton {
    Q_OBJECT
  public:
    explicit PanelButton(QWidget* parent);

  signals:
    void pressed(bool left);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// Shows picture number in a slot: asked for only when it is one the web host serves, else the slot is empty.
void ShowPicture(PanelSlot* slot, PictureSource& pictures, int number);
// Shows it again in the slot when the slot still shows that number (its picture has arrived).
void RefreshPicture(PanelSlot* slot, PictureSource& pictures, int number);

// Server text for a caption or a tooltip: bounded, in the code page the server speaks.
QString PanelText(const std::string& text);

// The server's colour for text, or the panels' own light text when it would not read on the dark window.
QColor ReadableColour(std::uint32_t bgr);

void PlaceWidget(QWidget* widget, const LayoutRect& rect, int width, int height);

} // namespace gr
