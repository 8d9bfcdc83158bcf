#pragma once
// The login window: account name, password and server choice, the animated log-in and create-account
// buttons, and the only server connection, Comline, which it keeps for the whole run.
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <string>

#include "core/ReceivePath.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTcpSocket;
class QTimer;

namespace gr {

class AccountDisplay;
class App;
class Game;
class ImageButton;

class Lodge : public QMainWindow {
    Q_OBJECT
public:
    // commandLine: the program's arguments joined with single blanks ("" when none).
    Lodge(App& app, QString commandLine);
    ~Lodge() override;

    // Start-up: machine records, remembered settings, folders, libbz2, the command line. The original
    // platform's updater program is neither fetched nor started: it cannot run here.
    void Form_Load();

    // Connection and log-in.
    void Login_Click(int index);
    void Logon_Click(); // Enter in the name or password box
    void ConnectAndLogin(int mode);
    void ResetLoginDisplay();
    void ApplyPortChoice();
    void ServerChoice_Click(int index);
    void Alternate_Port_Click();
    void Alternate_DNS_Click();
    void Help_Click();
    void Password_Change();
    void LoginTimer_Timer();
    void CreateAccountTimer_Timer();

    // The wire.
    // Enciphers and sends one message. False when nothing was sent (no key yet, or not connected, in which
    // case the application has ended).
    bool SendToServer(const std::string& message);
    void Comline_DataArrival();
    void Comline_Close();
    // Closes the connection from our side; the server's closing (Comline_Close) is not raised by it.
    void CloseComline();
    bool ComlineConnected() const;

    // The login-phase dispatcher: one scan of the queue.
    void Worker_Timer();
    bool WorkerEnabled = true;

    // Controls.
    QGroupBox* Main_Frame = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* ServerChoice = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* UserName = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Password = nullptr;
    std::array<ImageButton*, 2> Login{};
    ImageButton* Help = nullptr;
    QLabel* Connecting = nullptr;
    QLabel* ConStatus = nullptr;
    QLabel* Label4 = nullptr;
    QLineEdit* SpecialIP = nullptr;
    QLineEdit* SpecialPort = nullptr;
    QLineEdit* VersionRequired = nullptr;
    QTimer* LoginTimer = nullptr;
    QTimer* CreateAccountTimer = nullptr;
    QTimer* Worker = nullptr;
    QTcpSocket* Comline = nullptr;
    QMenu* Server_Options = nullptr;
    QAction* Alternate_Port = nullptr;
    QAction* Alternate_DNS = nullptr;

    int PendingAction = 0; // 0 none, 1 log in, 2 create account: sent once the key has arrived
    int PasswordRetries = 0; // password e-mails requested
    int LoginFrame = 0;
    int CreateAccountFrame = 0;
    ReceiveAssembler Receiver; // holds ReceiveBuffer
    int ConnectWaitMs = 10000;   // how long a connection may take
    int CloseWaitMs = 2000;      // how long closing may take to deliver what was sent
    static const QString TestAccessCode;
    static const QString ResolutionMessage;

signals:
    // Messages were put into the queue: the active dispatcher should run.
    void messagesQueued();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void ScheduleWorker();
    void StartUpStep(void (Lodge::*step)());
    void LoadMachineRecords();
    void LoadRememberedSettings();
    void MakeFolders();
    void LoadBzip2Library();
    void ApplyCommandLine();
    void FocusFirstBox();
    void ShowFrame(int button, int frame);
    void StopAnimations();
    bool ScreenIs640x480() const;
    bool Ended() const;
    // Dispatch one login-phase message; false ends the tick.
    bool Dispatch(const std::string& message);
    void KeyCode(const std::string& message);
    void SendPendingLogin();
    void AccountMsg(const std::string& message);
    void AccountEnableCrit();
    void WrongPassword();
    void Display(const std::string& message);
    void CritInfo(const std::string& message);
    void InUse();
    void DayBanned();
    void SysMsgBanned();
    QString ServerKind() const;

    App& app;
    QString CommandLine;
    std::unique_ptr<AccountDisplay> AccountWindow;
    std::unique_ptr<Game> GameWindow;
    QTimer* ConnectingTimer = nullptr;
    std::unique_ptr<QWidget> TesterBoxes; // SpecialIP, SpecialPort, VersionRequired until the access code
    int ConnectingFrame = 0;
    bool Waiting = false; // a connection wait is under way
    bool InWorkerTick = false; // a tick is under way (a message box inside it runs the event loop)
    std::string WorkerMessage; // the message being dispatched; its buffer is handed back to the queue
};

} // namespace gr
