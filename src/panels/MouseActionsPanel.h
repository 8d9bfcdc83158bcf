#pragma once
// The mouse-action buttons: seven actions (attack, look, get, drop, use, equip, doff: take off), each bound
// to the left or the right mouse button by pressing it with that button. A frame around a button shows the
// binding: ButtonMousePicR for the left button, ButtonMousePicB for the right.
#include <QObject>
#include <array>

#include "panels/PanelSlot.h"

namespace gr {

class HighlightFrame;
struct SkinFrame;

class MouseActionsPanel : public QObject {
    Q_OBJECT
  public:
    MouseActionsPanel(PanelContext& context, QWidget* parent);

    void ButtonMouse2_MouseDown(std::size_t n, bool left);
    // Shows the frames and the buttons' names as the bindings are now.
    void ShowMarkers();
    void Place(const GameLayout& layout, int width, int height);
    // A skin's frames for the left and right button.
    void SetSkinFrames(const std::array<SkinFrame, kMouseActions>& left,
                       const std::array<SkinFrame, kMouseActions>& right);

    std::array<PanelButton*, kMouseActions> ButtonMouse2{};
    std::array<HighlightFrame*, kMouseActions> ButtonMousePicR{}, ButtonMousePicB{};

  private:
    PanelContext& context;
};

} // namespace gr
