#include "login/Lodge.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTcpSocket>
#include <QTimer>

#include "app/App.h"
#include "core/Bzip2Library.h"
#include "core/CommandLine.h"
#include "core/Numbers.h"
#include "core/RunTimeError.h"
#include "core/WireText.h"
#include "game/Game.h"
#include "login/AccountDisplay.h"
#include "login/AniPics.h"
#include "login/ImageButton.h"
#include "platform/Dialogs.h"
#include "platform/Ending.h"
#include "platform/Shell.h"

namespace gr {

namespace {
constexpr int kLoginFrames = 29;
constexpr int kCreateAccountFrames = 38;
constexpr int kAnimationMs = 50;
constexpr int kWindowWidth = 520;
constexpr int kWindowHeight = 400;

const char* const kRegistryMessage =
    "Gloamrest can't access the registry\nRegistry access is required the first time you use gloamrest and to "
    "store character information, please use a computer account with registry access.";

// The window's painted background.
class Backdrop : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        if (Cache.size() != size()) Cache = AniPics::Backdrop(size());
        QPainter(this).drawPixmap(0, 0, Cache);
    }

private:
    QPixmap Cache;
};
} // namespace

const QString Lodge::TestAccessCode = QStringLiteral("gl0am");

Lodge::Lodge(App& app_, QString commandLine)
    : Receiver(app_.Bzip2), app(app_), CommandLine(std::move(commandLine)) {
    app.lodge = this;
    BuildControls();
    AccountWindow = std::make_unique<AccountDisplay>(app);
}

Lodge::~Lodge() {
    // The connection boxes, when they never joined the window, are deleted before the window's controls.
    TesterBoxes.reset();
    // The socket goes with the window; its last signals must not reach a window being destroyed.
    Comline->disconnect();
    Comline->abort();
    GameWindow.reset();
    AccountWindow.reset();
    if (app.lodge == this) app.lodge = nullptr;
}

bool Lodge::Ended() const { return app.platform.ending.Ended(); }

void Lodge::BuildControls() {
    setWindowTitle(QStringLiteral("Gloamrest"));
    setFixedSize(kWindowWidth, kWindowHeight);
    auto* back = new Backdrop(this);
    back->setMouseTracking(true);
    back->installEventFilter(this);
    setCentralWidget(back);

    auto* title = new QLabel(QStringLiteral("Gloamrest"), back);
    QFont titleFont(QStringLiteral("DejaVu Serif"));
    titleFont.setPixelSize(40);
    titleFont.setBold(true);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: #f3d9a4; background: transparent;"));
    title->setAlignment(Qt::AlignCenter);
    title->setGeometry(0, 14, kWindowWidth, 52);
    auto* subtitle = new QLabel(QStringLiteral("A world of words and pictures"), back);
    subtitle->setStyleSheet(QStringLiteral("color: #c9b7d9; background: transparent; font-style: italic;"));
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setGeometry(0, 62, kWindowWidth, 20);

    Main_Frame = new QGroupBox(QStringLiteral("Account Login"), back);
    Main_Frame->setGeometry(70, 96, 380, 150);
    Main_Frame->setMouseTracking(true);
    Main_Frame->installEventFilter(this);
    Main_Frame->setStyleSheet(QStringLiteral(
        "QGroupBox { background-color: rgba(20, 14, 38, 170); border: 1px solid rgba(243, 217, 164, 120);"
        " border-radius: 8px; margin-top: 10px; color: #f3d9a4; font-weight: bold; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 14px; padding: 0 6px; }"
        "QLabel { color: #e8e0f0; background: transparent; }"
        "QLineEdit, QComboBox { background: #f7f2ea; color: #1d1530; border: 1px solid #8c7aa8;"
        " border-radius: 4px; padding: 3px 6px; }"
        "QComboBox QAbstractItemView { background: #f7f2ea; color: #1d1530; }"
        // The box that takes the keys shows it.
        "QLineEdit:focus, QComboBox:focus { border: 2px solid #f3d9a4; padding: 2px 5px; }"));

    auto row = [&](QLabel*& label, const char* caption, int y) {
        label = new QLabel(QString::fromLatin1(caption), Main_Frame);
        label->setGeometry(20, y, 110, 26);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    row(Label3, "Select Server:", 30);
    ServerChoice = new QComboBox(Main_Frame);
    ServerChoice->addItems({QStringLiteral("Multi-alt Server"), QStringLiteral("1-alt Server")});
    ServerChoice->setGeometry(140, 30, 210, 28);
    row(Label1, "Account Name:", 70);
    UserName = new QLineEdit(Main_Frame);
    UserName->setGeometry(140, 70, 210, 28);
    row(Label2, "Password:", 110);
    Password = new QLineEdit(Main_Frame);
    Password->setEchoMode(QLineEdit::Password);
    Password->setGeometry(140, 110, 210, 28);
    // Each box is read out under its own label (unnamed, it would take the frame's title).
    Label3->setBuddy(ServerChoice);
    Label1->setBuddy(UserName);
    Label2->setBuddy(Password);
    ServerChoice->setAccessibleName(QStringLiteral("Select server"));
    UserName->setAccessibleName(QStringLiteral("Account name"));
    Password->setAccessibleName(QStringLiteral("Password"));

    Help = new ImageButton(back);
    Help->setPixmap(AniPics::Get().HelpIcon);
    Help->setToolTip(QStringLiteral("Help"));
    Help->setAccessibleName(QStringLiteral("Help"));
    Help->setGeometry(460, 112, AniPics::Get().HelpIcon.width(), AniPics::Get().HelpIcon.height());

    const int buttonsY = 268;
    const int gap = 20;
    const int left = (kWindowWidth - 2 * AniPics::ButtonWidth - gap) / 2;
    for (int i = 0; i < 2; ++i) {
        Login[i] = new ImageButton(back);
        Login[i]->setGeometry(left + i * (AniPics::ButtonWidth + gap), buttonsY, AniPics::ButtonWidth,
                              AniPics::ButtonHeight);
    }
    Login[0]->setToolTip(QStringLiteral("Log in to your account"));
    Login[1]->setToolTip(QStringLiteral("Create a new account with this name and password"));
    Login[0]->setAccessibleName(QStringLiteral("Log in"));
    Login[1]->setAccessibleName(QStringLiteral("Create account"));
    // The keyboard goes name, password, log-in, then the rest.
    setTabOrder(UserName, Password);
    setTabOrder(Password, Login[0]);
    setTabOrder(Login[0], Login[1]);
    setTabOrder(Login[1], Help);
    setTabOrder(Help, ServerChoice);

    Connecting = new QLabel(back);
    Connecting->setGeometry((kWindowWidth - AniPics::ConnectingSize) / 2, buttonsY - 8, AniPics::ConnectingSize,
                            AniPics::ConnectingSize);
    Connecting->setAccessibleName(QStringLiteral("Connecting"));
    Connecting->hide();
    ConStatus = new QLabel(QStringLiteral("Preparing Connection"), back);
    ConStatus->setAlignment(Qt::AlignCenter);
    ConStatus->setStyleSheet(QStringLiteral("color: #f3d9a4; background: transparent; font-weight: bold;"));
    ConStatus->setGeometry(0, buttonsY + AniPics::ConnectingSize - 2, kWindowWidth, 22);
    ConStatus->hide();

    Label4 = new QLabel(QStringLiteral("V1.11"), back);
    Label4->setStyleSheet(QStringLiteral("color: #a89bbd; background: transparent;"));
    Label4->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    Label4->setGeometry(kWindowWidth - 90, kWindowHeight - 56, 80, 20);

    // Connection details, shown only to testers who type the access code as password. Until then they are
    // not part of the window at all, so that screen readers do not list them.
    TesterBoxes = std::make_unique<QWidget>();
    TesterBoxes->setGeometry(0, kWindowHeight - 62, kWindowWidth, 24);
    auto tester = [&](const QString& text, const char* name, int x, int width) {
        auto* box = new QLineEdit(text, TesterBoxes.get());
        box->setGeometry(x, 0, width, 24);
        box->setAccessibleName(QString::fromLatin1(name));
        return box;
    };
    SpecialIP = tester(app.Deployment.Primary, "Server address", 12, 160);
    SpecialPort = tester(QStringLiteral("20000"), "Server port", 178, 60);
    VersionRequired = tester(QStringLiteral("B59"), "Client version", 244, 50);

    menuBar()->setStyleSheet(QStringLiteral(
        "QMenuBar { background: #1b1430; color: #e8e0f0; } QMenuBar::item:selected { background: #3a2d5c; }"
        "QMenu { background: #241a3d; color: #e8e0f0; } QMenu::item:selected { background: #4a3a73; }"));
    Server_Options = menuBar()->addMenu(QStringLiteral("Options"));
    Alternate_Port = Server_Options->addAction(QStringLiteral("Alternate Port"));
    Alternate_Port->setCheckable(true);
    Alternate_DNS = Server_Options->addAction(QStringLiteral("Alternate DNS"));
    Alternate_DNS->setCheckable(true);

    LoginTimer = new QTimer(this);
    LoginTimer->setInterval(kAnimationMs);
    CreateAccountTimer = new QTimer(this);
    CreateAccountTimer->setInterval(kAnimationMs);
    ConnectingTimer = new QTimer(this);
    ConnectingTimer->setInterval(kAnimationMs);
    Worker = new QTimer(this);
    Worker->setSingleShot(true);
    Worker->setInterval(0);
    Comline = new QTcpSocket(this);

    connect(Login[0], &ImageButton::clicked, this, [this] { Login_Click(0); });
    connect(Login[1], &ImageButton::clicked, this, [this] { Login_Click(1); });
    connect(Login[0], &ImageButton::hovered, this, [this] {
        CreateAccountTimer->stop();
        ShowFrame(1, 0);
        if (!LoginTimer->isActive()) {
            LoginFrame = 0;
            LoginTimer->start();
        }
    });
    connect(Login[1], &ImageButton::hovered, this, [this] {
        LoginTimer->stop();
        ShowFrame(0, 0);
        if (!CreateAccountTimer->isActive()) {
            CreateAccountFrame = 0;
            CreateAccountTimer->start();
        }
    });
    // Enter in either box logs in, as the log-in button does.
    connect(Password, &QLineEdit::returnPressed, this, &Lodge::Logon_Click);
    connect(UserName, &QLineEdit::returnPressed, this, &Lodge::Logon_Click);
    connect(Help, &ImageButton::clicked, this, &Lodge::Help_Click);
    connect(Password, &QLineEdit::textChanged, this, &Lodge::Password_Change);
    connect(ServerChoice, &QComboBox::activated, this, &Lodge::ServerChoice_Click);
    connect(Alternate_Port, &QAction::triggered, this, &Lodge::Alternate_Port_Click);
    connect(Alternate_DNS, &QAction::triggered, this, &Lodge::Alternate_DNS_Click);
    connect(LoginTimer, &QTimer::timeout, this, &Lodge::LoginTimer_Timer);
    connect(CreateAccountTimer, &QTimer::timeout, this, &Lodge::CreateAccountTimer_Timer);
    connect(ConnectingTimer, &QTimer::timeout, this, [this] {
        const auto& frames = AniPics::Get().ConnectingAni;
        ConnectingFrame = (ConnectingFrame + 1) % static_cast<int>(frames.size());
        Connecting->setPixmap(frames[static_cast<std::size_t>(ConnectingFrame)]);
    });
    connect(Worker, &QTimer::timeout, this, &Lodge::Worker_Timer);
    connect(this, &Lodge::messagesQueued, this, &Lodge::ScheduleWorker);
    connect(Comline, &QTcpSocket::readyRead, this, &Lodge::Comline_DataArrival);
    connect(Comline, &QTcpSocket::disconnected, this, &Lodge::Comline_Close);
}

// ---- Start-up -------------------------------------------------------------------------------------------

void Lodge::StartUpStep(void (Lodge::*step)()) {
    if (Ended()) return;
    try {
        (this->*step)();
    } catch (const RunTimeError&) {
        // A failing start-up step is skipped; the next one runs.
    }
}

void Lodge::Form_Load() {
    StartUpStep(&Lodge::LoadMachineRecords);
    if (Ended()) return;
    show();
    // In front and taking the keys, with or without a window manager.
    raise();
    activateWindow();
    QCoreApplication::processEvents();
    StartUpStep(&Lodge::StopAnimations); // frame 0 on both buttons
    StartUpStep(&Lodge::LoadRememberedSettings);
    StartUpStep(&Lodge::MakeFolders);
    StartUpStep(&Lodge::LoadBzip2Library);
    if (Ended()) return;
    app.Voice.InitACMCodec(49, 0.2);
    app.Session.StartWidth = -1;
    app.Session.StartHeight = -1;
    if (!CommandLine.isEmpty()) {
        StartUpStep(&Lodge::ApplyCommandLine);
        if (Ended()) return;
        FocusFirstBox();
        ConnectAndLogin(0);
        if (Ended()) return;
    }
    FocusFirstBox();
}

void Lodge::FocusFirstBox() {
    // The name box, or the password box when the name is already there.
    (UserName->text().isEmpty() ? UserName : Password)->setFocus(Qt::OtherFocusReason);
}

void Lodge::LoadMachineRecords() {
    if (!app.Machine.EnsureMachineIdentifier(app.platform.random)) {
        app.platform.dialogs.Message(QString::fromLatin1(kRegistryMessage));
        app.platform.ending.End();
    }
}

void Lodge::LoadRememberedSettings() {
    Alternate_Port->setChecked(!app.GetSetting(QStringLiteral("Port")).isEmpty());
    // A missing or unreadable choice leaves the list as it is.
    const auto choice = WholeNumber(ToWire(app.GetSetting(QStringLiteral("ServerChoice"))));
    if (choice && *choice >= 0 && *choice < ServerChoice->count()) ServerChoice->setCurrentIndex(*choice);
    ApplyPortChoice();
    UserName->setText(app.GetSetting(QStringLiteral("UserID")));
}

void Lodge::MakeFolders() {
    for (const char* folder : {"gfx", "skins", "sounds", "music"}) QDir().mkpath(QString::fromLatin1(folder));
}

void Lodge::LoadBzip2Library() {
    app.Bzip2 = LoadBzip2(app.Bzip2Library);
    if (!app.Bzip2.Complete()) {
        app.platform.dialogs.Message(QStringLiteral("Missing File: Libbz2.dll, please reinstall Gloamrest"));
        app.platform.ending.End();
        return;
    }
    Receiver.SetBzip2(app.Bzip2);
}

void Lodge::ApplyCommandLine() {
    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize(0, 0);
    const CommandLineFields fields = ParseCommandLine(ToWire(CommandLine), screen.width() * 15, screen.height() * 15);
    if (fields.UserName) UserName->setText(FromWire(*fields.UserName));
    if (fields.Password) Password->setText(FromWire(*fields.Password));
    // Choosing the server from the command line is choosing it in the list: remembered, port applied.
    if (fields.ServerIndex && *fields.ServerIndex >= 0 && *fields.ServerIndex < ServerChoice->count()) {
        ServerChoice->setCurrentIndex(*fields.ServerIndex);
        ServerChoice_Click(*fields.ServerIndex);
    }
    if (fields.AutoPlayCharacter) app.Session.AutoPlayCharacter = *fields.AutoPlayCharacter;
    if (fields.StartWidth) app.Session.StartWidth = *fields.StartWidth;
    if (fields.StartHeight) app.Session.StartHeight = *fields.StartHeight;
    if (fields.Skin) app.SaveSetting(QStringLiteral("Skin"), FromWire(*fields.Skin));
}

void Lodge::closeEvent(QCloseEvent* event) {
    CloseComline();
    event->accept();
    app.platform.ending.End();
}

// ---- Options ---------------------------------------------------------------------------------------------

void Lodge::ApplyPortChoice() {
    const bool alternate = Alternate_Port->isChecked();
    if (ServerChoice->currentIndex() == 0) SpecialPort->setText(alternate ? QStringLiteral("110") : QStringLiteral("20000"));
    else SpecialPort->setText(alternate ? QStringLiteral("143") : QStringLiteral("20001"));
    CloseComline();
}

void Lodge::ServerChoice_Click(int index) {
    app.SaveSetting(QStringLiteral("ServerChoice"), QString::number(index));
    ApplyPortChoice();
}

void Lodge::Alternate_Port_Click() {
    // The menu item has already toggled its check mark.
    app.SaveSetting(QStringLiteral("Port"), Alternate_Port->isChecked() ? QStringLiteral("1") : QString());
    ApplyPortChoice();
}

void Lodge::Alternate_DNS_Click() {
    SpecialIP->setText(Alternate_DNS->isChecked() ? app.Deployment.Alternate : app.Deployment.Primary);
}

void Lodge::Help_Click() { app.platform.shell.OpenUrl(app.Deployment.WebAddress(QStringLiteral("/gamehelpicon.html"))); }

void Lodge::Password_Change() {
    if (Password->text() != TestAccessCode || !TesterBoxes) return;
    // The boxes join the window (which then owns them).
    QWidget* boxes = TesterBoxes.release();
    boxes->setParent(centralWidget());
    boxes->show();
}

// ---- Button animation ------------------------------------------------------------------------------------

void Lodge::ShowFrame(int button, int frame) {
    const auto& frames = button == 0 ? AniPics::Get().LoginAni : AniPics::Get().CreateAccountAni;
    Login[static_cast<std::size_t>(button)]->setPixmap(frames.at(static_cast<std::size_t>(frame)));
}

void Lodge::StopAnimations() {
    LoginTimer->stop();
    CreateAccountTimer->stop();
    ShowFrame(0, 0);
    ShowFrame(1, 0);
}

void Lodge::LoginTimer_Timer() {
    LoginFrame = (LoginFrame + 1) % kLoginFrames;
    ShowFrame(0, LoginFrame);
}

void Lodge::CreateAccountTimer_Timer() {
    CreateAccountFrame = (CreateAccountFrame + 1) % kCreateAccountFrames;
    ShowFrame(1, CreateAccountFrame);
}

bool Lodge::eventFilter(QObject* watched, QEvent* event) {
    // The mouse over the window's background ends both animations.
    if (event->type() == QEvent::MouseMove && (LoginTimer->isActive() || CreateAccountTimer->isActive()))
        StopAnimations();
    return QMainWindow::eventFilter(watched, event);
}

bool Lodge::ScreenIs640x480() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen && screen->size() == QSize(640, 480);
}

} // namespace gr
