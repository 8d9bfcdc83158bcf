#pragma once
// The game window: the game's text, the input line, and (as they arrive) the panels of the room, the
// inventory, the equipment, the spells, the commands and the status values. Shown when the server lets a
// character enter; its own dispatcher takes over the receive queue from the login window's.
#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/PrecisionTimer.h"
#include "input/CommandInput.h"
#include "input/PlayerTimer.h"
#include "panels/PanelRules.h"
#include "skin/Layout.h"

class QAction;
class QDialog;
class QImage;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace gr {

class AboutWindow;
class Character_Portrait_Selector;
class App;
class CommandsPanel;
class Console;
class GameMacros;
class DW;
class SkinChooser;
class SoundAndMusic;
struct SkinLook;
class StatusPanel;
class EquipmentPanel;
class InventoryPanel;
class MouseActionsPanel;
class PictureSource;
class RoomObjectsPanel;
class SpellsPanel;
struct PanelContext;
class GameTextLog;
class TextWindow;
class FindBar;
class VoiceChatSocket;
class Web_Browser;

class Game : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr int kDesignWidthTwips = gr::kDesignWidthTwips;
    static constexpr int kDesignHeightTwips = gr::kDesignHeightTwips;
    int VoicePort = 111; // the voice chat's port: the deployment's, for listening and calling alike
    // The input line's length limits. A line is one message to the server: a command, or chat of a few
    // sentences. A sysop may send long texts (announcements, notes), so the limit is raised for them.
    static constexpr int kInputLength = 1000;
    static constexpr int kSysopInputLength = 20000;

    explicit Game(App& app);
    ~Game() override;

    // Start-up: options, text settings, the keep-alive, the window's place, voice
    // chat, and last the dispatcher.
    void Form_Load();
    void Quit_Game_Click();

    // The in-game dispatcher: one scan of the queue.
    void Worker_Timer();
    void ScheduleWorker();
    bool WorkerEnabled = false;

    // The command line.
    void ProcessCommandLine();
    void SendTI_Click() { ProcessCommandLine(); }
    void TI_KeyDown(int keyCode);
    void TI_Change();
    void PlaceInputBox(int placement);

    // Housekeeping.
    void ImStillOn_Timer();
    void StuckKey_Timer();
    void CheckTimer_Timer();
    void Bots_Timer();

    // Menu handlers.
    void Save_Character_Click();
    void TextSize_Click(int size);
    void Text_Buffer_Size_Click();

    // Text for the player.
    void PrintLine(const std::string& line);
    void PrintSystemLine(const std::string& text);
    bool SendToServer(const std::string& message);

    // Controls.
    QWidget* MainBack = nullptr;
    TextWindow* TD = nullptr;
    StatusPanel* Status = nullptr;
    QLineEdit* TI = nullptr;
    QPushButton* SendTI = nullptr;
    QPushButton* CmdTalk = nullptr;
    SoundAndMusic* Audio = nullptr; // the sound and music switches, volumes and player
    QAction* Skins = nullptr;
    std::unique_ptr<SkinChooser> SkinWindow;
    // Applies "skins/<fileName>" over the current layout; false when it is missing or not a plain name. A
    // bad line leaves what came before it applied and says so.
    bool LoadSkin(const QString& fileName);
    void Skins_Click();
    QAction* VoiceChatOn = nullptr;
    QAction* Hide_When_Maximising = nullptr;
    QAction* Bar_Flashing = nullptr;
    QAction* Enhanced_XP = nullptr;
    QAction* Start_Maximised = nullptr;
    std::array<QAction*, 6> TextSizeItems{}; // Text8, Text10, Text12, Text14, Text16, Text18
    QAction* Save_Character = nullptr;
    QAction* Text_Buffer_Size = nullptr;
    QAction* Find_Text = nullptr;          // Ctrl+F: the find bar over the text display
    QAction* Announce_Chat_Only = nullptr; // a screen reader is told of chat and the client's lines only
    FindBar* FindText = nullptr;
    QAction* Quit_Game = nullptr;
    QTimer* Worker = nullptr;
    QTimer* ImStillOn = nullptr;
    QTimer* StuckKey = nullptr;
    QTimer* CheckTimer = nullptr;
    QTimer* Bots = nullptr;
    VoiceChatSocket* TCPSocket = nullptr;
    // Push-to-talk (game/GameVoice.cpp): holding CmdTalk or the chosen key (setting "Voice_Talk_Key")
    // talks; the partner can be muted; CmdTalk's caption shows who is talking.
    int TalkKey = 0; // a Qt::Key
    QAction* Voice_Talk_Key = nullptr;
    QAction* Voice_Mute = nullptr;
    QDialog* TalkKeyWindow = nullptr;
    void Voice_Talk_Key_Click();
    void SetTalkKey(int key);

    // State of play.
    GameLayout Layout;
    std::array<std::string, 7> BarColours;
    InputHistory History;
    PlayerTimer Timer;
    std::string ReplyText;
    bool PingInProgress = false;
    ClassPrecisionTimer PingClock;
    int UpdateToggle = 0;
    std::string VoicePartnerName;
    std::string VoicePartnerAddress;
    int CommandsThisMinute = 0;
    int InputPlacement = 0;
    std::string CurrentMessage;

    // The windows it opens.
    std::unique_ptr<Web_Browser> BrowserWindow;
    std::unique_ptr<AboutWindow> About;
    std::unique_ptr<Console> ConsoleWindow;
    std::unique_ptr<DW> GoldDialog;

    // The panels. Their pictures come from Pictures (none while it is null); PictureArrived redraws every
    // slot that shows a picture when it has arrived.
    PictureSource* Pictures = nullptr;
    void PictureArrived(int number);
    Bindings MouseBindings;
    RoomObjectsPanel* RoomPanel = nullptr;
    InventoryPanel* InventPanel = nullptr;
    EquipmentPanel* EquipPanel = nullptr;
    CommandsPanel* ComPanel = nullptr;
    SpellsPanel* SpellPanel = nullptr;
    MouseActionsPanel* MousePanel = nullptr;
    QAction* Other_Equipment = nullptr;
    // The character menu's portrait selector: the choice goes to the server as "/portrait N".
    QAction* Portrait = nullptr;
    std::unique_ptr<Character_Portrait_Selector> PortraitWindow;
    void Portrait_Click();

    GameMacros* Macros = nullptr; // the character's macro sets and their editor

    GameTextLog* TextLog = nullptr; // "Log Game Text" and the log while it is on

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void PlaceControls();
    void BuildPanels();
    void PlacePanels(int width, int height);
    void ReadBindings();
    void SaveBindings();
    void OpenGoldDialog(const QString& caption);
    void Dispatch(const std::string& message);
    void Offline(const std::string& text);
    void VoiceChatRequest(const std::string& value);
    void BuildVoice(QMenu* options);
    bool TalkKeyEvent(QObject* watched, QEvent* event);
    void ShowTalking(bool self, bool partner);
    void Ping();
    bool VoiceChatCommand(const std::string& commandText, const std::string& typed);
    void RunCalculator(const std::string& argument);
    void RunTimer(const std::string& argument);
    void ToggleTaskbarDisguise();
    void ShowConsole();
    void OpenWebQuery(const QString& base, const std::string& query);
    void StartClient(const std::string& character);
    QString NormalTitle() const;
    void StoreOption(QAction* item, const char* key, bool storedMeansOn);
    // The caption while a sound or a piece of music downloads.
    void SoundDownloading(const QString& suffix);
    void SetBackground(const QImage& picture);
    void ApplyLook(const SkinLook& look);
    // Text controls whose font grows and shrinks with the window's width: the point size at the design
    // width (the skin's, or the control's own) and the size last shown.
    struct ScaledFont {
        QWidget* Widget;
        double DesignPoints;
        int Shown = 0;
    };
    std::vector<ScaledFont> ScaledFonts;
    void SetDesignPoints(QWidget* widget, double points);
    void ScaleFonts(int width);
    void ChooseSkin(const QString& fileName);
    bool SkinApplied = false; // a skin changed the look during this run
    QString TitleBeforeDownload;
    // The input line takes the keyboard again: after a click on the window, a menu action or a dialog.
    void ReturnFocus();
    // A window the game opens gives the focus back to the input line when it closes.
    void WatchWindow(QWidget* window);
    bool Ended() const;

    App& app;
    std::unique_ptr<PictureSource> PanelPictures;
    std::unique_ptr<PanelContext> PanelHost;
    bool InWorkerTick = false;
    bool Quitting = false;
    bool Destroying = false;
    int WindowsShown = 0;           // how often a window the game opened was shown
    int WindowsShownBeforeMenu = 0; // the same, when a menu last opened
};

} // namespace gr
