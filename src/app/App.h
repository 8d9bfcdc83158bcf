#pragma once
// The application object: the state that the game treats as global, grouped by concern, and the platform
// stand-ins. main() creates one; every test creates its own, so every test starts clean.
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/Bzip2Api.h"
#include "core/Cipher.h"
#include "core/Deployment.h"
#include "core/InQueue.h"
#include "login/AccountRecords.h"
#include "platform/MachineStore.h"
#include "platform/VoiceStream.h"

class QSettings;

namespace gr {

class AccountDisplay;
class Dialogs;
class Downloads;
class Ending;
class Game;
class Lodge;
class Media;
class PictureStore;
class RandomSource;
class Shell;

// The platform stand-ins; owned by whoever creates the App (main or a test).
struct Platform {
    Dialogs& dialogs;
    Ending& ending;
    Shell& shell;
    RandomSource& random;
};

// The connection's shared state: the receive queue and the cipher.
struct WireState {
    gr::InQueue InQueue;
    std::string CipherKey; // empty until "KEYCODE"; nothing can be sent while it is empty
    CipherTables Tables;
    int CharacterDeleted = 0; // 1 once the player has deleted a character: the server then drops us
};

// Who is playing, and how the game window should start.
struct SessionState {
    std::string CharacterName;
    std::string AutoPlayCharacter; // lower case; entered by the account manager without a click
    int StartWidth = -1;           // twips, -1 when none was asked for
    int StartHeight = -1;
    std::array<std::string, 6> CharacterInfo;
    bool SysopMode = false; // set by the server's "Sysop"; lasts for the run
    // The player's macros: 13 rows of text and auto-send flag; row 12 is the "/s" prefix.
    std::array<std::array<std::string, 2>, 13> Macros;
    // The macro file of the current set is MacroFilePrefix + MacroSetSuffix + ".txt"; no prefix, no file.
    std::string MacroFilePrefix;
    std::string MacroSetSuffix;
    std::string AboutText;
};

// The account's characters: CritTable as the server listed them, CritView as the account manager shows them.
struct AccountState {
    CritGrid CritTable = EmptyCritGrid();
    CritGrid CritView = EmptyCritGrid();
    std::string AccountEmail;
};

class App {
public:
    // dataFolder holds the settings (when GLOAMREST_HOME is set), deployment.ini and the machine records.
    App(Platform platform, const QString& dataFolder);
    ~App();

    // The "Logon" section of the settings store; an absent key reads as def.
    QString GetSetting(const QString& key, const QString& def = QString()) const;
    void SaveSetting(const QString& key, const QString& value);
    void RemoveSetting(const QString& key);
    void FlushSettings();

    Platform platform;
    QString DataFolder;
    gr::Deployment Deployment;
    MachineStore Machine;
    WireState Wire;
    SessionState Session;
    AccountState Account;
    VoiceStream Voice;
    QString Bzip2Library;   // the library start-up loads
    Bzip2Api Bzip2;         // set by start-up once the library is loaded
    // The windows, each owned by the login window, which lives for the whole run.
    Lodge* lodge = nullptr; // owns the server connection
    AccountDisplay* accountDisplay = nullptr;
    Game* game = nullptr;
    // The character-creation window's handler of "GenerateUser" answers (the text after the keyword);
    // while there is none, such answers are dropped.
    std::function<void(std::string_view)> CharacterCreationAnswer;

    // The one download service (from the deployment's web host into the data folder) and the pictures
    // it fetches; both made when first asked for.
    gr::Downloads& Downloader();
    PictureStore& Pictures();
    // Sound and music; SDL2_mixer unless something else was put in place first (a test's recording one).
    Media& Audio();
    std::unique_ptr<Media> AudioDevice;

private:
    std::unique_ptr<QSettings> Settings;
    std::unique_ptr<gr::Downloads> DownloadService; // before the pictures, so it outlives them
    std::unique_ptr<PictureStore> PictureCache;
};

} // namespace gr
