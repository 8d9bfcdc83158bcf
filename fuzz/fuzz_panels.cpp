// A panel message's value through every list rule that reads it, and the clicks on what it built.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Targets.h"
#include "core/RunTimeError.h"
#include "panels/PanelRules.h"

namespace {
template <typename Body> void Guarded(Body&& body) {
    try {
        body();
    } catch (const gr::RunTimeError&) {
    }
}
} // namespace

int gr::fuzz::Panels(const std::uint8_t* data, std::size_t size) {
    const std::string value(reinterpret_cast<const char*>(data), size);
    gr::Bindings b;
    b.BindSpell(true, "Fire");
    Guarded([&] {
        const auto objects = gr::ParseRoomObjects(value);
        if (objects.size() > gr::kRoomObjectEntries) std::abort();
        for (std::size_t k = 0; k < objects.size(); ++k)
            if (const auto slot = gr::RoomSlot(objects, k))
                (void)gr::RoomObjectCommand(slot->Caption, b, true);
    });
    Guarded([&] {
        const auto items = gr::ParseInventory(value);
        if (items.size() > gr::kInventorySlots) std::abort();
        for (const auto& item : items)
            (void)gr::InventoryCommand(item.Name, b, false);
    });
    Guarded([&] {
        const auto list = gr::ParseCommandList(value);
        if (list.size() > gr::kCommandEntries) std::abort();
        for (const auto& caption : list)
            (void)gr::CommandButtonClick(caption);
    });
    Guarded([&] {
        if (gr::ParseSpellList(value).size() > gr::kSpellEntries) std::abort();
    });
    Guarded([&] {
        const auto change = gr::ParseEquipment(value);
        if (change.Slot >= gr::kEquipmentSlots) std::abort();
    });
    Guarded([&] { (void)gr::ParseOtherEquipment(value); });
    (void)gr::ObjectClickName(value);
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Panels)
