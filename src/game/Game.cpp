#include "game/Game.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "app/App.h"
#include "character/PortraitSelector.h"
#include "core/BoundText.h"
#include "core/WireText.h"
#include "downloads/PictureSource.h"
#include "game/GameWindows.h"
#include "input/GameMacros.h"
#include "login/Lodge.h"
#include "panels/CommandsPanel.h"
#include "panels/EquipmentPanel.h"
#include "panels/MouseActionsPanel.h"
#include "panels/PanelSlot.h"
#include "panels/RoomObjectsPanel.h"
#include "panels/SpellsPanel.h"
#include "panels/StatusPanel.h"
#include "platform/Ending.h"
#include "skin/SkinChooser.h"
#include "sound/SoundAndMusic.h"
#include "text/FindBar.h"
#include "text/GameTextLog.h"
#include "text/TextWindow.h"
#include "voice/VoiceChat.h"

namespace gr {

namespace {
constexpr int kImStillOnMs = 20000;
constexpr int kStuckKeyMs = 60000;
constexpr int kBotsMs = 5000;

// The window's background: a dark dusk gradient with the wells of the panels, each with its heading. It is
// drawn once per size and kept: every panel that changes repaints the backdrop under it, and a room change
// changes most of them, so each repaint is a plain copy of the kept picture.
class GameBackdrop : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent* event) override {
        const qreal ratio = devicePixelRatioF();
        if (Kept.size() != size() * ratio) {
            Kept = QPixmap(size() * ratio);
            Kept.setDevicePixelRatio(ratio);
            QPainter p(&Kept);
            Draw(p);
        }
        QPainter p(this);
        p.drawPixmap(event->rect(), Kept,
                     QRectF(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio));
    }
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange) Kept = QPixmap();
        QWidget::changeEvent(event);
    }

  public:
    // A skin's background picture, stretched over the whole window; none brings back the built-in look.
    void SetPicture(const QImage& picture) {
        Picture = picture;
        Kept = QPixmap();
        update();
    }

  private:
    void Draw(QPainter& p) {
        if (!Picture.isNull()) {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawImage(rect(), Picture);
            return;
        }
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient sky(0, 0, 0, height());
        sky.setColorAt(0, QColor(0x1b, 0x14, 0x30));
        sky.setColorAt(1, QColor(0x2c, 0x1c, 0x36));
        p.fillRect(rect(), sky);
        // The wells of the built-in layout (design units); a skin brings a background picture of its own.
        struct Well {
            const char* Title;
            LayoutRect Box;
        };
        const std::array<Well, 7> wells = {{
            {"Around you", {292, 4, 18, 150}},
            {"", {300, 156, 16, 634}},
            {"Status", {264, 4, 330, 160}},
            {"Equipment", {264, 168, 330, 134}},
            {"Inventory", {82, 306, 330, 260}},
            {"Spells", {176, 306, 420, 260}},
            {"Commands", {264, 570, 330, 220}},
        }};
        QFont heading = font();
        heading.setBold(true);
        heading.setPixelSize(std::max(9, height() / 60));
        p.setFont(heading);
        for (const Well& well : wells) {
            const PixelRect r = Place(well.Box, width(), height());
            QPainterPath path;
            path.addRoundedRect(QRectF(r.Left, r.Top, r.Width, r.Height), 6, 6);
            p.fillPath(path, QColor(10, 7, 20, 150));
            p.setPen(QPen(QColor(243, 217, 164, 70), 1));
            p.drawPath(path);
            if (*well.Title) {
                p.setPen(QColor(243, 217, 164, 170));
                p.drawText(QRect(r.Left + 8, r.Top - p.fontMetrics().height() + 2, r.Width,
                                 p.fontMetrics().height()),
                           Qt::AlignLeft | Qt::AlignBottom, QString::fromLatin1(well.Title));
            }
        }
    }

    QPixmap Kept;
    QImage Picture;
};
} // namespace

void Game::SetBackground(const QImage& picture) {
    static_cast<GameBackdrop*>(MainBack)->SetPicture(picture);
}

Game::Game(App& app_) : Layout(DefaultGameLayout()), app(app_) {
    app.game = this;
    VoicePort = app.Deployment.VoicePort;
    BuildControls();
    BuildPanels();
    for (QWidget* label : SpellPanel->SpellNameN)
        SetDesignPoints(label, QFontInfo(label->font()).pointSizeF());
    for (QWidget* label : EquipPanel->EquippedName)
        SetDesignPoints(label, QFontInfo(label->font()).pointSizeF());
    for (QWidget* button : ComPanel->Com)
        SetDesignPoints(button, QFontInfo(button->font()).pointSizeF());
    for (QWidget* label : RoomPanel->ObjName)
        SetDesignPoints(label, QFontInfo(label->font()).pointSizeF());
    for (QWidget* button : MousePanel->ButtonMouse2)
        SetDesignPoints(button, QFontInfo(button->font()).pointSizeF());
    BuildMenus();
    resize(int(kDesignWidth), int(kDesignHeight) + menuBar()->sizeHint().height());
}

Game::~Game() {
    Destroying = true;
    if (Worker) Worker->stop();
    TD->LineDrawn = nullptr;
    delete TextLog; // writes what is queued
    TextLog = nullptr;
    if (app.game == this) app.game = nullptr;
}

bool Game::Ended() const {
    return app.platform.ending.Ended();
}

void Game::BuildControls() {
    MainBack = new GameBackdrop(this);
    MainBack->setAccessibleName(QStringLiteral("Game"));
    MainBack->installEventFilter(this);
    setCentralWidget(MainBack);
    TD = new TextWindow(app.platform.shell, app.platform.random, MainBack);
    TD->setAccessibleName(QStringLiteral("Game text"));
    TD->installEventFilter(this);
    TD->viewport()->installEventFilter(this);
    FindText = new FindBar(*TD, MainBack);
    FindText->Closed = [this] { ReturnFocus(); };
    TD->LineDrawn = [this](const std::vector<DrawOp>& ops) {
        if (TextLog) TextLog->Append(ops);
    };
    TI = new QLineEdit(MainBack);
    TI->setObjectName(QStringLiteral("TI"));
    TI->setAccessibleName(QStringLiteral("Command line"));
    TI->setMaxLength(kInputLength);
    TI->setStyleSheet(
        QStringLiteral("QLineEdit { background: #f7f2ea; color: #1d1530; border: 1px solid #8c7aa8;"
                       " border-radius: 4px; padding: 1px 6px; }"));
    TI->setPlaceholderText(QStringLiteral("Type a command or something to say, then Enter"));
    TI->installEventFilter(this);
    // The Enter key's button; the input line sends with Enter, so the button itself stays out of sight.
    SendTI = new QPushButton(QStringLiteral("Send"), MainBack);
    SendTI->setAccessibleName(QStringLiteral("Send"));
    SendTI->setFocusPolicy(Qt::NoFocus);
    SendTI->hide();
    // Pressed with the mouse while typing goes on: the button never takes the keyboard.
    CmdTalk = new QPushButton(QStringLiteral("Talk"), MainBack);
    CmdTalk->setAccessibleName(QStringLiteral("Talk"));
    CmdTalk->setFocusPolicy(Qt::NoFocus);
    CmdTalk->setToolTip(QStringLiteral("Hold to talk to your voice chat partner"));
    CmdTalk->hide();
    connect(TI, &QLineEdit::returnPressed, SendTI, &QPushButton::click);
    connect(SendTI, &QPushButton::clicked, this, &Game::SendTI_Click);
    connect(TI, &QLineEdit::textChanged, this, &Game::TI_Change);
    Status = new StatusPanel(BarColours, MainBack);

    Worker = new QTimer(this);
    Worker->setSingleShot(true);
    Worker->setInterval(0);
    connect(Worker, &QTimer::timeout, this, &Game::Worker_Timer);
    ImStillOn = new QTimer(this);
    ImStillOn->setInterval(kImStillOnMs);
    connect(ImStillOn, &QTimer::timeout, this, &Game::ImStillOn_Timer);
    StuckKey = new QTimer(this);
    StuckKey->setInterval(kStuckKeyMs);
    connect(StuckKey, &QTimer::timeout, this, &Game::StuckKey_Timer);
    StuckKey->start();
    CheckTimer = new QTimer(this);
    CheckTimer->setInterval(PlayerTimer::CheckTimerIntervalMs);
    connect(CheckTimer, &QTimer::timeout, this, &Game::CheckTimer_Timer);
    Bots = new QTimer(this);
    Bots->setInterval(kBotsMs);
    connect(Bots, &QTimer::timeout, this, &Game::Bots_Timer);
    Bots->start();
    TCPSocket = new VoiceChatSocket(this);
    if (app.lodge) connect(app.lodge, &Lodge::messagesQueued, this, &Game::ScheduleWorker);
}

void Game::BuildMenus() {
    menuBar()->setAccessibleName(QStringLiteral("Menu"));
    // After a menu action the input line takes the keyboard again, once the menu has closed; unless the
    // action opened a window of its own, which keeps it.
    connect(menuBar(), &QMenuBar::triggered, this, [this] {
        // Checked once the item's own handlers have run: an item that opens a window keeps the keyboard
        // there, whichever handler the item calls first.
        QTimer::singleShot(0, this, [this] {
            if (WindowsShown != WindowsShownBeforeMenu) return;
            // The find bar, opened from the menu or its shortcut, keeps the keyboard in its box.
            if (FindText->isVisible() && FindText->isAncestorOf(QApplication::focusWidget())) return;
            activateWindow();
            ReturnFocus();
        });
    });
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setAccessibleName(QStringLiteral("File"));
    Save_Character = file->addAction(QStringLiteral("Save Text Display"));
    file->addSeparator();
    Quit_Game = file->addAction(QStringLiteral("&Quit"));
    connect(Save_Character, &QAction::triggered, this, &Game::Save_Character_Click);
    connect(Quit_Game, &QAction::triggered, this, &Game::Quit_Game_Click);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setAccessibleName(QStringLiteral("Options"));
    auto toggle = [&](const char* caption, const char* key, bool storedMeansOn) {
        QAction* item = options->addAction(QString::fromLatin1(caption));
        item->setCheckable(true);
        connect(item, &QAction::triggered, this,
                [this, item, key, storedMeansOn] { StoreOption(item, key, storedMeansOn); });
        return item;
    };
    Audio = new SoundAndMusic(
        {[this](const QString& key, const QString& def) { return app.GetSetting(key, def); },
         [this](const QString& key, const QString& value) { app.SaveSetting(key, value); }, toggle,
         [this](const std::string& message) { return SendToServer(message); },
         [this](const std::string& line) { PrintSystemLine(line); },
         [this](const QString& suffix) { SoundDownloading(suffix); }},
        options, this);
    Skins = options->addAction(QStringLiteral("S&kins..."));
    connect(Skins, &QAction::triggered, this, &Game::Skins_Click);
    VoiceChatOn = toggle("Voice Chat", "Voice Chat", true);
    BuildVoice(options);
    options->addSeparator();
    Hide_When_Maximising = toggle("Hide When Maximising", "Hide_When_Maximising", false);
    Bar_Flashing = toggle("Bar Flashing", "Bar_Flashing", false);
    Enhanced_XP = toggle("Enhanced Experience", "Enhanced_XP", false);
    Start_Maximised = toggle("Start Maximised", "Start_Maximised", true);
    // The status panel follows the two status switches; a click also redraws what it changes.
    connect(Bar_Flashing, &QAction::toggled, Status, [this](bool on) { Status->BarFlashingOn = on; });
    connect(Bar_Flashing, &QAction::triggered, Status, &StatusPanel::Bar_Flashing_Click);
    connect(Enhanced_XP, &QAction::toggled, Status, [this](bool on) { Status->EnhancedXpOn = on; });
    connect(Enhanced_XP, &QAction::triggered, Status, &StatusPanel::Enhanced_XP_Click);

    QMenu* character = menuBar()->addMenu(QStringLiteral("&Character Options"));
    character->setAccessibleName(QStringLiteral("Character Options"));
    Other_Equipment = character->addAction(QStringLiteral("Other Equipment"));
    connect(Other_Equipment, &QAction::triggered, this, [this] { EquipPanel->Other_Equipment_Click(); });
    Macros = new GameMacros({app.Session, app.DataFolder,
                             [this] { return app.lodge ? app.lodge->ServerChoice->currentIndex() : 0; },
                             [this](const std::string& line) { PrintSystemLine(line); },
                             [this](QWidget* window) { WatchWindow(window); }},
                            character, this);
    Portrait = character->addAction(QStringLiteral("&Portrait..."));
    connect(Portrait, &QAction::triggered, this, &Game::Portrait_Click);

    QMenu* text = menuBar()->addMenu(QStringLiteral("&Text"));
    text->setAccessibleName(QStringLiteral("Text"));
    const std::array<int, 6> sizes = {8, 10, 12, 14, 16, 18};
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const int size = sizes[i];
        TextSizeItems[i] = text->addAction(QStringLiteral("Text Size %1").arg(size));
        TextSizeItems[i]->setCheckable(true);
        connect(TextSizeItems[i], &QAction::triggered, this, [this, size] { TextSize_Click(size); });
    }
    text->addSeparator();
    Text_Buffer_Size = text->addAction(QStringLiteral("Text Buffer Size..."));
    connect(Text_Buffer_Size, &QAction::triggered, this, &Game::Text_Buffer_Size_Click);
    text->addSeparator();
    Find_Text = text->addAction(QStringLiteral("&Find..."));
    Find_Text->setShortcut(QKeySequence::Find);
    connect(Find_Text, &QAction::triggered, FindText, &FindBar::Open);
    Announce_Chat_Only = text->addAction(QStringLiteral("Announce Only Chat and System Lines"));
    Announce_Chat_Only->setCheckable(true);
    Announce_Chat_Only->setChecked(!app.GetSetting(QStringLiteral("AnnounceChatOnly")).isEmpty());
    TD->AnnounceChatOnly = Announce_Chat_Only->isChecked();
    connect(Announce_Chat_Only, &QAction::triggered, this, [this](bool on) {
        TD->AnnounceChatOnly = on;
        StoreOption(Announce_Chat_Only, "AnnounceChatOnly", true);
    });
    TextLog =
        new GameTextLog({[this](const QString& key) { return app.GetSetting(key); },
                         [this](const QString& key, const QString& value) { app.SaveSetting(key, value); },
                         [this](const std::string& line) { PrintSystemLine(line); }, app.DataFolder,
                         [this] { return app.Session.CharacterName; }},
                        text, this);

    for (QAction* item : menuBar()->actions())
        if (QMenu* menu = item->menu())
            connect(menu, &QMenu::aboutToShow, this, [this] { WindowsShownBeforeMenu = WindowsShown; });
    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar { background: #1b1430; color: #e8e0f0; } QMenuBar::item:selected { background: #3a2d5c; }"
        "QMenu { background: #241a3d; color: #e8e0f0; } QMenu::item:selected { background: #4a3a73; }"));
}

void Game::StoreOption(QAction* item, const char* key, bool storedMeansOn) {
    // Each option keeps "1" or "" in the settings; for some of them a stored value means off.
    const bool stored = storedMeansOn ? item->isChecked() : !item->isChecked();
    app.SaveSetting(QString::fromLatin1(key), stored ? QStringLiteral("1") : QString());
}

void Game::PlaceControls() {
    const int w = MainBack->width();
    const int h = MainBack->height();
    auto apply = [](QWidget* widget, const PixelRect& r) {
        widget->setGeometry(r.Left, r.Top, r.Width, r.Height);
    };
    apply(TD, Place(Layout.TD, w, h));
    if (FindText->isVisible()) FindText->Place();
    apply(CmdTalk, Place(Layout.CmdTalk, w, h));
    Status->Place(Layout, w, h);
    ScaleFonts(w);
    apply(TI, gr::PlaceInputBox(Layout, InputPlacement, w, h));
    PlacePanels(w, h);
}

void Game::PlaceInputBox(int placement) {
    InputPlacement = placement == 4 ? 4 : 0;
    const PixelRect r = gr::PlaceInputBox(Layout, InputPlacement, MainBack->width(), MainBack->height());
    TI->setGeometry(r.Left, r.Top, r.Width, r.Height);
    CmdTalk->setVisible(InputPlacement != 0);
}

void Game::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    PlaceControls();
}

bool Game::eventFilter(QObject* watched, QEvent* event) {
    if (TalkKeyEvent(watched, event)) return true;
    if (watched == TI && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up)
            TI_KeyDown(38);
        else if (key == Qt::Key_Down)
            TI_KeyDown(40);
        else if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
            TI_KeyDown(112 + (key - Qt::Key_F1));
        else if (static_cast<QKeyEvent*>(event)->matches(QKeySequence::Find)) {
            // As the menu's shortcut does; it reaches here when the window is not the active one (no
            // window manager), where shortcuts are not matched.
            FindText->Open();
            return true;
        } else if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            // The input line has no use for them: they scroll the game text.
            TD->ScrollPages(key == Qt::Key_PageUp ? -1 : 1);
            return true;
        } else if (key == Qt::Key_End)
            TD->ScrollToBottom(); // and the input line's caret goes to its end as well
    } else if (watched == TD && TD && event->type() == QEvent::KeyPress) {
        // Typing while the text display has the keyboard goes to the input line; shortcuts such as
        // copying the selected text stay with the display.
        auto* key = static_cast<QKeyEvent*>(event);
        const bool typing = !key->text().isEmpty() && key->text().at(0).isPrint() &&
                            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (typing || enter) {
            ReturnFocus();
            QCoreApplication::sendEvent(TI, event);
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease && TD &&
               (watched == TD->viewport() || watched == MainBack)) {
        // A click gives the keyboard back to the input line, unless it selected text to copy.
        QTimer::singleShot(0, this, [this] {
            if (!TD->HasSelection()) ReturnFocus();
        });
    } else if (event->type() == QEvent::Show && watched != this && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->isWindow()) {
        ++WindowsShown;
    } else if (event->type() == QEvent::Hide && watched != this && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->isWindow()) {
        // One of the windows the game opened has closed.
        if (!Destroying && !Ended() && isVisible()) {
            activateWindow();
            ReturnFocus();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Game::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    ReturnFocus();
}

void Game::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        ReturnFocus();
    } else if (event->type() == QEvent::WindowTitleChange) {
        // The title shows the character's name, which the server chose: bounded like all server text.
        const std::string title = ToWire(windowTitle());
        if (title.size() > kMaxTitleBytes + kCutMark.size())
            setWindowTitle(FromWire(BoundText(title, kMaxTitleBytes)));
    }
}

void Game::ReturnFocus() {
    if (TI && !Ended()) TI->setFocus(Qt::OtherFocusReason);
}

void Game::WatchWindow(QWidget* window) {
    window->installEventFilter(this);
}

void Game::Bots_Timer() {
    // The check for automated-input programs is a protection measure this client leaves out.
    if (app.Session.SysopMode) TI->setMaxLength(kSysopInputLength);
}

void Game::closeEvent(QCloseEvent* event) {
    event->accept();
    Quit_Game_Click();
}

void Game::PrintLine(const std::string& line) {
    TD->PrintLine(line);
}

void Game::PrintSystemLine(const std::string& text) {
    TD->PrintSystemLine(text);
}

bool Game::SendToServer(const std::string& message) {
    return app.lodge && app.lodge->SendToServer(message);
}

void Game::SoundDownloading(const QString& suffix) {
    // The caption tells while a sound or a piece of music is on its way, then reads as it did before.
    if (suffix.isEmpty()) {
        if (!TitleBeforeDownload.isNull()) setWindowTitle(TitleBeforeDownload);
        TitleBeforeDownload = QString();
        return;
    }
    if (TitleBeforeDownload.isNull()) TitleBeforeDownload = windowTitle();
    setWindowTitle(FromWire(app.Session.CharacterName) + QStringLiteral("  - ") +
                   app.Deployment.WebHostName() + QStringLiteral(" - ") + suffix);
}

} // namespace gr
