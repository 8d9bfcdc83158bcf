#pragma once
// The worn equipment: armour, shield, helmet and weapon on the game window (a picture and a name each),
// and the whole list of thirteen slots that the equipment window shows.
#include <QDialog>
#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "panels/PanelSlot.h"

namespace gr {

// The equipment window: all thirteen slots as pictures, the item's name in each tooltip. A click takes the
// item off.
class AllEquipment : public QDialog {
    Q_OBJECT
  public:
    AllEquipment(PanelContext& context, QWidget* parent);
    // One slot: an item (name and picture number) or, with an empty name, nothing.
    void SetSlot(std::size_t slot, const std::string& name, int picture);
    void Equipped_Click(std::size_t n);
    void PictureArrived(int number);

    std::array<PanelSlot*, kEquipmentSlots> Equipped{};
    std::array<std::string, kEquipmentSlots> Names;

  private:
    PanelContext& context;
};

class EquipmentPanel : public QObject {
    Q_OBJECT
  public:
    EquipmentPanel(PanelContext& context, QWidget* parent);
    ~EquipmentPanel() override;

    void Equipment(std::string_view value);
    void OtherEquipment(std::string_view value);
    // The menu item "Other Equipment": the equipment window, filled from the list.
    void Other_Equipment_Click();
    void EquipmentClick(std::size_t n, bool left);
    void PictureArrived(int number);
    void Place(const GameLayout& layout, int width, int height);
    AllEquipment& Window(); // created when first needed
    // Told of the equipment window when it is made (the game window gives the keyboard back when it closes).
    std::function<void(QWidget*)> WindowMade;

    std::array<PanelSlot*, kMainEquipmentSlots> EquippedPic{};
    std::array<PanelSlot*, kMainEquipmentSlots> EquippedName{};
    EquipmentList List; // names 0 to 12, pictures 13 to 25
    std::unique_ptr<AllEquipment> EquipmentWindow;

  private:
    PanelContext& context;
    QWidget* parentWidget;
};

} // namespace gr
