#pragma once
// The inventory: fourteen picture slots, each item's name in its tooltip.
#include <QObject>
#include <array>
#include <string>
#include <string_view>

#include "panels/PanelSlot.h"

namespace gr {

class InventoryPanel : public QObject {
    Q_OBJECT
  public:
    InventoryPanel(PanelContext& context, QWidget* parent);

    // "Inventory": every slot is emptied, then filled from the list (a list that fails leaves them empty).
    void Inventory(std::string_view value);
    void InventG_MouseDown(std::size_t n, bool left);
    void PictureArrived(int number);
    void Place(const GameLayout& layout, int width, int height);

    std::array<PanelSlot*, kInventorySlots> InventG{};
    std::array<std::string, kInventorySlots> Names; // each slot's item, as the server named it

  private:
    PanelContext& context;
};

} // namespace gr
