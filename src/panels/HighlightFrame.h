#pragma once
// A highlight frame: shows which button a mouse button is bound to. The built-in look draws an outline
// around the button; a skin gives a filled shape in its own colour, set behind the button and a margin
// larger on every side, so it shows as a coloured halo.
#include <QColor>
#include <QWidget>
#include <optional>

#include "skin/Layout.h"
#include "skin/SkinFile.h"

namespace gr {

class HighlightFrame : public QWidget {
  public:
    HighlightFrame(const QColor& outline, QWidget* parent);

    // The skin's frame: its fill colour, shape and place in twips of the design-size window. A frame the
    // skin did not reach keeps the built-in outline.
    void SetSkin(const SkinFrame& frame);
    bool Skinned() const { return Rect.has_value(); }

    // Places the frame for its button: the skin's rectangle behind the button, or an outline the margin in
    // pixels around it and over it.
    void PlaceFor(QWidget* button, int windowWidth, int windowHeight, int outlineMargin);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor Outline;
    QColor Fill;
    HighlightShapeCode Shape = HighlightShapeCode::Rectangle;
    std::optional<LayoutRect> Rect;
};

} // namespace gr
