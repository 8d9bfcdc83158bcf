#include "panels/EquipmentPanel.h"

#include <QGridLayout>
#include <QLabel>

namespace gr {

namespace {
const std::array<const char*, kEquipmentSlots> kSlotNames = {
    "Armor",  "Shield", "Helmet",  "Weapon",  "Slot 5",  "Slot 6", "Slot 7",
    "Slot 8", "Slot 9", "Slot 10", "Slot 11", "Slot 12", "Slot 13"};

QString EmptySlotName(std::size_t slot) {
    return QString::fromLatin1(kSlotNames[slot]) + QStringLiteral(", nothing worn");
}
} // namespace

AllEquipment::AllEquipment(PanelContext& context_, QWidget* parent) : QDialog(parent), context(context_) {
    setWindowTitle(QStringLiteral("Equipment"));
    auto* grid = new QGridLayout(this);
    for (std::size_t i = 0; i < kEquipmentSlots; ++i) {
        Equipped[i] = new PanelSlot(this);
        Equipped[i]->setFixedSize(48, 48);
        Equipped[i]->setFrameShape(QFrame::Box);
        Equipped[i]->setAccessibleName(EmptySlotName(i));
        grid->addWidget(Equipped[i], int(i / 5), int(i % 5));
        connect(Equipped[i], &PanelSlot::pressed, this, [this, i](bool left) {
            if (left) Equipped_Click(i);
        });
    }
}

void AllEquipment::SetSlot(std::size_t slot, const std::string& name, int picture) {
    Names[slot] = name;
    const QString shown = PanelText(name);
    Equipped[slot]->setToolTip(shown);
    Equipped[slot]->setAccessibleName(name.empty() ? EmptySlotName(slot) : shown);
    ShowPicture(Equipped[slot], context.Pictures, name.empty() ? 0 : picture);
}

void AllEquipment::Equipped_Click(std::size_t n) {
    // An empty slot has nothing to take off.
    if (!Names[n].empty()) context.Send("/unequip " + Names[n]);
}

void AllEquipment::PictureArrived(int number) {
    for (PanelSlot* slot : Equipped)
        RefreshPicture(slot, context.Pictures, number);
}

EquipmentPanel::EquipmentPanel(PanelContext& context_, QWidget* parent)
    : QObject(parent), context(context_), parentWidget(parent) {
    for (std::size_t i = 0; i < kMainEquipmentSlots; ++i) {
        EquippedPic[i] = new PanelSlot(parent);
        EquippedName[i] = new PanelSlot(parent);
        EquippedName[i]->setScaledContents(false);
        EquippedName[i]->setWordWrap(true);
        EquippedName[i]->setStyleSheet(QStringLiteral("color: #e8e0f0;"));
        EquippedPic[i]->setAccessibleName(EmptySlotName(i));
        EquippedName[i]->setAccessibleName(EmptySlotName(i));
        for (PanelSlot* slot : {EquippedPic[i], EquippedName[i]})
            connect(slot, &PanelSlot::pressed, this, [this, i](bool left) { EquipmentClick(i, left); });
    }
}

EquipmentPanel::~EquipmentPanel() = default;

AllEquipment& EquipmentPanel::Window() {
    if (!EquipmentWindow) {
        EquipmentWindow = std::make_unique<AllEquipment>(context, parentWidget->window());
        if (WindowMade) WindowMade(EquipmentWindow.get());
    }
    return *EquipmentWindow;
}

void EquipmentPanel::Equipment(std::string_view value) {
    const EquipmentChange change = ParseEquipment(value);
    const std::size_t s = change.Slot;
    List[s] = change.Name;
    List[s + kEquipmentSlots] = change.Picture;
    const int picture = change.Name.empty() ? 0 : PictureNumber(change.Picture);
    Window().SetSlot(s, change.Name, picture);
    if (s >= kMainEquipmentSlots) return;
    const QString shown = PanelText(change.Name);
    EquippedName[s]->setText(shown);
    const QString name = change.Name.empty()
                             ? EmptySlotName(s)
                             : QString::fromLatin1(kSlotNames[s]) + QStringLiteral(": ") + shown;
    EquippedName[s]->setAccessibleName(name);
    EquippedPic[s]->setAccessibleName(name);
    EquippedPic[s]->setToolTip(shown);
    ShowPicture(EquippedPic[s], context.Pictures, picture);
}

void EquipmentPanel::OtherEquipment(std::string_view value) {
    List = ParseOtherEquipment(value);
}

void EquipmentPanel::Other_Equipment_Click() {
    AllEquipment& window = Window();
    for (std::size_t s = 0; s < kEquipmentSlots; ++s)
        window.SetSlot(s, List[s], PictureNumber(List[s + kEquipmentSlots]));
    window.show();
    window.raise();
}

void EquipmentPanel::EquipmentClick(std::size_t n, bool left) {
    if (List[n].empty())
        context.Print("You don't have anything there.");
    else if (const auto command = EquipmentCommand(List[n], context.MouseBindings, left))
        context.Send(*command);
    context.Refocus();
}

void EquipmentPanel::PictureArrived(int number) {
    for (PanelSlot* slot : EquippedPic)
        RefreshPicture(slot, context.Pictures, number);
    if (EquipmentWindow) EquipmentWindow->PictureArrived(number);
}

void EquipmentPanel::Place(const GameLayout& layout, int width, int height) {
    for (std::size_t i = 0; i < kMainEquipmentSlots; ++i) {
        PlaceWidget(EquippedPic[i], layout.EquippedPic[i], width, height);
        PlaceWidget(EquippedName[i], layout.EquippedName[i], width, height);
    }
}

} // namespace gr
