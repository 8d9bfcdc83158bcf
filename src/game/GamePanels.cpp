// The game window's panels: built, placed, fed pictures, and the mouse bindings read at start and kept
// when the game ends.
#include <QLineEdit>
#include <QScrollBar>

#include "app/App.h"
#include "core/Numbers.h"
#include "core/WireText.h"
#include "panels/CommandsPanel.h"
#include "panels/EquipmentPanel.h"
#include "game/Game.h"
#include "game/GameWindows.h"
#include "panels/InventoryPanel.h"
#include "panels/MouseActionsPanel.h"
#include "character/PortraitSelector.h"
#include "panels/RoomObjectsPanel.h"
#include "panels/SpellsPanel.h"
#include "downloads/PictureSource.h"

namespace gr {

namespace {
// The window's pictures as the panels ask for them: none while the game has no picture source yet.
class GamePictures final : public PictureSource {
  public:
    explicit GamePictures(PictureSource* const& source) : source(source) {}
    QPixmap Picture(int number) override { return source ? source->Picture(number) : QPixmap(); }

  private:
    PictureSource* const& source;
};
} // namespace

void Game::BuildPanels() {
    PanelPictures = std::make_unique<GamePictures>(Pictures);
    PanelHost = std::make_unique<PanelContext>(PanelContext{
        *PanelPictures,
        MouseBindings,
        [this](const std::string& command) { SendToServer(command); },
        [this](const std::string& line) { PrintSystemLine(line); },
        [this] { ReturnFocus(); },
        [this] {
            SpellPanel->ShowMarkers();
            MousePanel->ShowMarkers();
        },
    });
    RoomPanel = new RoomObjectsPanel(*PanelHost, MainBack);
    InventPanel = new InventoryPanel(*PanelHost, MainBack);
    EquipPanel = new EquipmentPanel(*PanelHost, MainBack);
    EquipPanel->WindowMade = [this](QWidget* window) { WatchWindow(window); };
    ComPanel = new CommandsPanel(*PanelHost, MainBack);
    ComPanel->OpenGoldDialog = [this](const QString& caption) { OpenGoldDialog(caption); };
    SpellPanel = new SpellsPanel(*PanelHost, MainBack);
    SpellPanel->SavedScroll = [this] {
        const double stored = LeadingNumber(
            ToWire(app.GetSetting(QStringLiteral("SCR_") + FromWire(app.Session.CharacterName))));
        return stored >= 0 && stored <= double(kSpellEntries) ? int(stored) : 0;
    };
    MousePanel = new MouseActionsPanel(*PanelHost, MainBack);
}

void Game::PlacePanels(int width, int height) {
    RoomPanel->Place(Layout, width, height);
    InventPanel->Place(Layout, width, height);
    EquipPanel->Place(Layout, width, height);
    ComPanel->Place(Layout, width, height);
    SpellPanel->Place(Layout, width, height);
    MousePanel->Place(Layout, width, height);
}

void Game::PictureArrived(int number) {
    RoomPanel->PictureArrived(number);
    InventPanel->PictureArrived(number);
    EquipPanel->PictureArrived(number);
    if (PortraitWindow) PortraitWindow->PictureArrived(number);
}

void Game::Portrait_Click() {
    const QString key = QStringLiteral("POR_") + FromWire(app.Session.CharacterName);
    if (!PortraitWindow) {
        const auto stored = WholeNumber(ToWire(app.GetSetting(key)));
        PortraitWindow = std::make_unique<Character_Portrait_Selector>(
            *PanelPictures, stored ? *stored : -1,
            [this, key](int index) {
                SendToServer(PortraitCommand(index));
                app.SaveSetting(key, QString::number(index));
            },
            this);
        WatchWindow(PortraitWindow.get());
    }
    PortraitWindow->show();
    PortraitWindow->raise();
    PortraitWindow->activateWindow();
    PortraitWindow->HavePic[std::size_t(std::max(0, PortraitWindow->Current()))]->setFocus(
        Qt::OtherFocusReason);
}

void Game::OpenGoldDialog(const QString& caption) {
    if (!GoldDialog) {
        GoldDialog = std::make_unique<DW>(app.platform.dialogs, this);
        WatchWindow(GoldDialog.get());
    }
    GoldDialog->OpenForGold(caption, [this](const std::string& command) { SendToServer(command); });
}

void Game::ReadBindings() {
    const QString who = FromWire(app.Session.CharacterName);
    // An action number: a missing key is action 0, -1 is none, anything else outside the actions is
    // ignored (the button keeps no action).
    auto action = [&](const QString& prefix) {
        const double stored = LeadingNumber(ToWire(app.GetSetting(prefix + who)));
        return stored >= -1 && stored < double(kMouseActions) && stored == double(int(stored)) ? int(stored)
                                                                                               : -1;
    };
    MouseBindings.LeftAction = action(QStringLiteral("LMB_"));
    MouseBindings.RightAction = action(QStringLiteral("RMB_"));
    MouseBindings.SelectedSpellR = ToWire(app.GetSetting(QStringLiteral("SPR_") + who));
    MouseBindings.SelectedSpellB = ToWire(app.GetSetting(QStringLiteral("SPB_") + who));
    SpellPanel->ShowMarkers();
    MousePanel->ShowMarkers();
}

void Game::SaveBindings() {
    const QString who = FromWire(app.Session.CharacterName);
    app.SaveSetting(QStringLiteral("LMB_") + who, QString::number(MouseBindings.LeftAction));
    app.SaveSetting(QStringLiteral("RMB_") + who, QString::number(MouseBindings.RightAction));
    app.SaveSetting(QStringLiteral("SPR_") + who, FromWire(MouseBindings.SelectedSpellR));
    app.SaveSetting(QStringLiteral("SPB_") + who, FromWire(MouseBindings.SelectedSpellB));
    app.SaveSetting(QStringLiteral("SCR_") + who, QString::number(SpellPanel->SpellVScroll->value()));
}

} // namespace gr
