#include "panels/MouseActionsPanel.h"

#include "panels/HighlightFrame.h"

namespace gr {

namespace {
struct Action {
    const char* Caption;
    const char* Help;
};
const std::array<Action, kMouseActions> kActions = {{
    {"Attack", "Attack a creature in the room"},
    {"Look", "Look at an object, an item or what you wear"},
    {"Get", "Pick up an object"},
    {"Drop", "Drop an item you carry"},
    {"Use", "Use an item, or pick up an object"},
    {"Equip", "Wear or wield an item you carry"},
    {"Doff", "Take off what you wear"},
}};
} // namespace

MouseActionsPanel::MouseActionsPanel(PanelContext& context_, QWidget* parent)
    : QObject(parent), context(context_) {
    for (std::size_t n = 0; n < kMouseActions; ++n) {
        ButtonMouse2[n] = new PanelButton(parent);
        ButtonMouse2[n]->setText(QString::fromLatin1(kActions[n].Caption));
        ButtonMouse2[n]->setToolTip(QString::fromLatin1(kActions[n].Help) +
                                    QStringLiteral(": press with the left or right mouse button to bind it"));
        ButtonMouse2[n]->setStyleSheet(QStringLiteral("QPushButton { background: #2a2045; color: #f3e9d2; "
                                                      "border: 1px solid #6c5a88; border-radius: 4px;"
                                                      " padding: 0px; }"));
        QFont small =
            ButtonMouse2[n]->font(); // set here, not in the style, so that it scales with the window
        small.setPixelSize(8);
        ButtonMouse2[n]->setFont(small);
        ButtonMousePicR[n] = new HighlightFrame(QColor(0xf3, 0xd9, 0xa4), parent);
        ButtonMousePicB[n] = new HighlightFrame(QColor(0x9f, 0xd3, 0xff), parent);
        connect(ButtonMouse2[n], &PanelButton::pressed, this,
                [this, n](bool left) { ButtonMouse2_MouseDown(n, left); });
    }
    ShowMarkers();
}

void MouseActionsPanel::ButtonMouse2_MouseDown(std::size_t n, bool left) {
    context.MouseBindings.BindAction(left, int(n));
    context.BindingsChanged();
    context.Refocus();
}

void MouseActionsPanel::ShowMarkers() {
    const Bindings& b = context.MouseBindings;
    for (std::size_t n = 0; n < kMouseActions; ++n) {
        const bool onLeft = b.LeftAction == int(n);
        const bool onRight = b.RightAction == int(n);
        ButtonMousePicR[n]->setVisible(onLeft);
        ButtonMousePicB[n]->setVisible(onRight);
        QString name = QString::fromLatin1(kActions[n].Caption);
        if (onLeft) name += QStringLiteral(", left button");
        if (onRight) name += QStringLiteral(", right button");
        ButtonMouse2[n]->setAccessibleName(name);
    }
}

void MouseActionsPanel::Place(const GameLayout& layout, int width, int height) {
    for (std::size_t n = 0; n < kMouseActions; ++n) {
        PlaceWidget(ButtonMouse2[n], layout.ButtonMouse2[n], width, height);
        // Both bound to one button: the right button's frame is the inner one, or over the left's.
        ButtonMousePicR[n]->PlaceFor(ButtonMouse2[n], width, height, 3);
        ButtonMousePicB[n]->PlaceFor(ButtonMouse2[n], width, height, 1);
    }
}

void MouseActionsPanel::SetSkinFrames(const std::array<SkinFrame, kMouseActions>& left,
                                      const std::array<SkinFrame, kMouseActions>& right) {
    for (std::size_t n = 0; n < kMouseActions; ++n) {
        ButtonMousePicR[n]->SetSkin(left[n]);
        ButtonMousePicB[n]->SetSkin(right[n]);
    }
}

} // namespace gr
