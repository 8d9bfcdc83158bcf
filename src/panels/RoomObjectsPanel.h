#pragma once
// The objects in the room: nine slots, each a picture and a name in the object's colour, over the list
// of the room's distinct objects, with a scroll bar when there are more than nine.
#include <QObject>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "panels/PanelSlot.h"

class QScrollBar;

namespace gr {

class RoomObjectsPanel : public QObject {
    Q_OBJECT
  public:
    RoomObjectsPanel(PanelContext& context, QWidget* parent);

    // "PLA": the room's objects (fails as the list rules say; the slots are then left as they were).
    void PLA(std::string_view value);
    void ObjVScroll_Change(int value);
    void ObjectClick(std::size_t n, bool left);
    void PictureArrived(int number);
    void Place(const GameLayout& layout, int width, int height);

    std::array<PanelSlot*, kRoomObjectSlots> ObjPicG{};
    std::array<PanelSlot*, kRoomObjectSlots> ObjName{};
    QScrollBar* ObjVScroll = nullptr;
    std::vector<RoomObject> RoomObjects;                // the distinct objects of the last room message
    std::array<std::string, kRoomObjectSlots> Captions; // each name slot's caption, "&" doubled

  private:
    void ClearSlot(std::size_t i);
    PanelContext& context;
};

} // namespace gr
