#pragma once
// The spells: eight slots over the server's spell list, each a spell button and its name, with the markers
// of the spells bound to the left (R) and right (B) mouse button, and a scroll bar for longer lists.
#include <QObject>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "panels/PanelSlot.h"

class QLabel;
class QScrollBar;

namespace gr {

class HighlightFrame;
struct SkinFrame;

class SpellsPanel : public QObject {
    Q_OBJECT
  public:
    SpellsPanel(PanelContext& context, QWidget* parent);

    // "SL": the spell list. The first list longer than the slots scrolls to the position the player left it
    // at last time (SavedScroll).
    void SL(std::string_view value);
    void SpellVScroll_Change(int value);
    void SpellButton_MouseDown(std::size_t n, bool left);
    // Shows each slot's markers as the bindings are now.
    void ShowMarkers();
    void Place(const GameLayout& layout, int width, int height);
    // A skin's highlight frames behind the spell buttons, for the left and right button; shown with the
    // markers.
    void SetSkinFrames(const std::array<SkinFrame, kSpellSlots>& left,
                       const std::array<SkinFrame, kSpellSlots>& right);

    std::function<int()> SavedScroll;

    std::array<PanelSlot*, kSpellSlots> SpellButton{};
    std::array<PanelSlot*, kSpellSlots> SpellNameN{};
    std::array<QLabel*, kSpellSlots> SpellButtonR{}, SpellButtonB{};
    std::array<HighlightFrame*, kSpellSlots> SpellFrameR{}, SpellFrameB{};
    QScrollBar* SpellVScroll = nullptr;
    std::vector<std::string> SpellList;
    std::array<std::string, kSpellSlots> Names; // each slot's spell
    bool ScrollRestored = false;

  private:
    PanelContext& context;
};

} // namespace gr
