#include "panels/InventoryPanel.h"

namespace gr {

InventoryPanel::InventoryPanel(PanelContext& context_, QWidget* parent) : QObject(parent), context(context_) {
    for (std::size_t i = 0; i < kInventorySlots; ++i) {
        InventG[i] = new PanelSlot(parent);
        InventG[i]->setAccessibleName(QStringLiteral("Empty inventory slot"));
        connect(InventG[i], &PanelSlot::pressed, this, [this, i](bool left) { InventG_MouseDown(i, left); });
    }
}

void InventoryPanel::Inventory(std::string_view value) {
    for (std::size_t i = 0; i < kInventorySlots; ++i) {
        Names[i].clear();
        InventG[i]->Picture = 0;
        InventG[i]->clear();
        InventG[i]->setToolTip(QString());
        InventG[i]->setAccessibleName(QStringLiteral("Empty inventory slot"));
    }
    const auto items = ParseInventory(value);
    for (std::size_t i = 0; i < items.size(); ++i) {
        Names[i] = items[i].Name;
        const QString shown = PanelText(items[i].Name);
        InventG[i]->setToolTip(shown);
        InventG[i]->setAccessibleName(shown.isEmpty() ? QStringLiteral("Empty inventory slot") : shown);
        ShowPicture(InventG[i], context.Pictures, items[i].Picture);
    }
}

void InventoryPanel::InventG_MouseDown(std::size_t n, bool left) {
    if (Names[n].empty())
        context.Print("You don't have anything there.");
    else if (const auto command = InventoryCommand(Names[n], context.MouseBindings, left))
        context.Send(*command);
    context.Refocus();
}

void InventoryPanel::PictureArrived(int number) {
    for (PanelSlot* slot : InventG)
        RefreshPicture(slot, context.Pictures, number);
}

void InventoryPanel::Place(const GameLayout& layout, int width, int height) {
    for (std::size_t i = 0; i < kInventorySlots; ++i)
        PlaceWidget(InventG[i], layout.InventG[i], width, height);
}

} // namespace gr
