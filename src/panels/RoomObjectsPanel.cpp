#include "panels/RoomObjectsPanel.h"

#include <QScrollBar>

namespace gr {

RoomObjectsPanel::RoomObjectsPanel(PanelContext& context_, QWidget* parent)
    : QObject(parent), context(context_) {
    for (std::size_t i = 0; i < kRoomObjectSlots; ++i) {
        ObjPicG[i] = new PanelSlot(parent);
        ObjName[i] = new PanelSlot(parent);
        ObjName[i]->setScaledContents(false);
        ObjName[i]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        for (PanelSlot* slot : {ObjPicG[i], ObjName[i]})
            connect(slot, &PanelSlot::pressed, this, [this, i](bool left) { ObjectClick(i, left); });
        ClearSlot(i);
    }
    ObjVScroll = new QScrollBar(Qt::Vertical, parent);
    ObjVScroll->setAccessibleName(QStringLiteral("Room objects scroll"));
    ObjVScroll->setFocusPolicy(Qt::NoFocus);
    ObjVScroll->setPageStep(kRoomObjectSlots);
    ObjVScroll->hide();
    connect(ObjVScroll, &QScrollBar::valueChanged, this, &RoomObjectsPanel::ObjVScroll_Change);
}

void RoomObjectsPanel::ClearSlot(std::size_t i) {
    Captions[i].clear();
    ObjName[i]->clear();
    ObjName[i]->setToolTip(QString());
    ObjName[i]->setAccessibleName(QStringLiteral("Nothing here"));
    ObjPicG[i]->Picture = 0;
    ObjPicG[i]->clear();
    ObjPicG[i]->setToolTip(QString());
    ObjPicG[i]->setAccessibleName(QStringLiteral("Nothing here"));
}

void RoomObjectsPanel::PLA(std::string_view value) {
    if (value.empty()) {
        // An empty room: the slots and the scroll bar go, the list stays.
        for (std::size_t i = 0; i < kRoomObjectSlots; ++i)
            ClearSlot(i);
        ObjVScroll->hide();
        return;
    }
    RoomObjects = ParseRoomObjects(value);
    const int last = int(RoomObjects.size()) - 1;
    const QSignalBlocker quiet(ObjVScroll); // one redraw below
    if (last <= int(kRoomObjectSlots) - 1) {
        ObjVScroll->setValue(0);
        ObjVScroll->hide();
    } else {
        ObjVScroll->setMaximum(last - int(kRoomObjectSlots) + 3);
        ObjVScroll->show();
    }
    ObjVScroll_Change(ObjVScroll->value());
}

void RoomObjectsPanel::ObjVScroll_Change(int value) {
    for (std::size_t i = 0; i < kRoomObjectSlots; ++i) {
        const auto slot = RoomSlot(RoomObjects, std::size_t(value) + i);
        if (!slot) {
            ClearSlot(i);
            continue;
        }
        const QString shown = PanelText(slot->Shown);
        Captions[i] = slot->Caption;
        ShowPicture(ObjPicG[i], context.Pictures, slot->Picture);
        ObjName[i]->setText(shown);
        ObjName[i]->setToolTip(shown);
        ObjName[i]->setAccessibleName(shown);
        ObjPicG[i]->setToolTip(shown);
        ObjPicG[i]->setAccessibleName(shown);
        QPalette palette = ObjName[i]->palette();
        palette.setColor(QPalette::WindowText, ReadableColour(slot->Colour));
        ObjName[i]->setPalette(palette);
    }
    context.Refocus();
}

void RoomObjectsPanel::ObjectClick(std::size_t n, bool left) {
    if (const auto command = RoomObjectCommand(Captions[n], context.MouseBindings, left))
        context.Send(*command);
    context.Refocus();
}

void RoomObjectsPanel::PictureArrived(int number) {
    for (PanelSlot* slot : ObjPicG)
        RefreshPicture(slot, context.Pictures, number);
}

void RoomObjectsPanel::Place(const GameLayout& layout, int width, int height) {
    for (std::size_t i = 0; i < kRoomObjectSlots; ++i) {
        PlaceWidget(ObjPicG[i], layout.ObjPicG[i], width, height);
        PlaceWidget(ObjName[i], layout.ObjName[i], width, height);
    }
    PlaceWidget(ObjVScroll, layout.ObjVScroll, width, height);
}

} // namespace gr
