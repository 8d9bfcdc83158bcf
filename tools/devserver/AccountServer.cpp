#include "devserver/AccountServer.h"

#include "devserver/CharacterCreation.h"

#include <QDate>
#include <QFile>
#include <QSaveFile>
#include <QtGlobal>

#include <algorithm>
#include <utility>

namespace gr::dev {

namespace {

// Splits "first/second" at the first "/": names never hold one, what follows may. Without a "/" the whole
// text is the first part.
std::pair<std::string_view, std::string_view> SplitAtSlash(std::string_view text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) return {text, {}};
    return {text.substr(0, slash), text.substr(slash + 1)};
}

std::string_view CreateRefusal(StoreResult result) {
    switch (result) {
    case StoreResult::EmptyName:
        return "Please enter an account name.";
    case StoreResult::EmptyPassword:
        return "Please enter a password.";
    case StoreResult::UnfitName:
        return "That account name cannot be used: it is too long or holds a character that is not allowed.";
    case StoreResult::UnfitValue:
        return "That password is too long.";
    case StoreResult::StoreFull:
        return "No more accounts can be made on this server.";
    default:
        return "That account name is already taken.";
    }
}

std::string_view TransferRefusal(StoreResult result) {
    switch (result) {
    case StoreResult::NoTarget:
        return "There is no account of that name.";
    case StoreResult::SameAccount:
        return "That character is already on this account.";
    case StoreResult::NameClash:
        return "That account already has a character of that name.";
    case StoreResult::TargetFull:
        return "That account has no room for another character.";
    default:
        return "That character is not on this account.";
    }
}

constexpr std::string_view kNotLoggedIn = "You are not logged in.";
constexpr std::string_view kNotOnAccount = "That character is not on this account.";

} // namespace

// Looked up in order by prefix; no prefix here starts another.
const AccountServer::Request AccountServer::Requests[] = {
    {"AccountAddd", &AccountServer::addAccount},
    {"AccountLoad", &AccountServer::loadAccount},
    {"AccountEmail", &AccountServer::mailPassword},
    {"AccountLoginGR", &AccountServer::loginCharacter},
    {"AccountTransferCrit", &AccountServer::transferCharacter},
    {"AccountChangePass", &AccountServer::changePassword},
    {"AccountChangeEmail", &AccountServer::changeEmail},
    {"AccountDeleteCrit", &AccountServer::deleteCharacter},
    {"AccountGenerateUser", &AccountServer::generateUser},
    {"AccountRol1", &AccountServer::rollStats},
    {"AccountNewCrit", &AccountServer::newCharacter},
    {"/portrait ", &AccountServer::setPortrait},
};

AccountServer::AccountServer(QString accountsFile, QObject* parent)
    : DevServer(parent), File(std::move(accountsFile)),
      Today([] { return QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")).toStdString(); }) {}

bool AccountServer::loadAccounts(LoadReport* report) {
    Store = AccountStore();
    if (report) *report = LoadReport();
    QFile file(File);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        AccountsError = QStringLiteral("%1: %2").arg(File, file.errorString());
        return false;
    }
    if (file.size() > kMaxAccountsFileBytes) {
        AccountsError = QStringLiteral("%1: larger than %2 bytes").arg(File).arg(kMaxAccountsFileBytes);
        return false;
    }
    const QByteArray text = file.read(kMaxAccountsFileBytes + 1);
    if (text.size() > kMaxAccountsFileBytes) { // grew since size() was asked
        AccountsError = QStringLiteral("%1: larger than %2 bytes").arg(File).arg(kMaxAccountsFileBytes);
        return false;
    }
    Store = AccountStore::Load(std::string_view(text.constData(), std::size_t(text.size())), report);
    return true;
}

std::string AccountServer::sessionAccount(int sessionId) const {
    const auto it = Sessions.find(sessionId);
    return it == Sessions.end() ? std::string() : it->second;
}

void AccountServer::onMessage(int sessionId, const std::string& message) {
    for (const Request& request : Requests) {
        if (message.starts_with(request.Prefix)) {
            (this->*request.Handle)(sessionId, std::string_view(message).substr(request.Prefix.size()));
            return;
        }
    }
    onGameMessage(sessionId, message);
}

void AccountServer::onSessionClosed(int sessionId) {
    Sessions.erase(sessionId);
    Creating.erase(sessionId);
    Playing.erase(sessionId);
}

void AccountServer::onGameMessage(int sessionId, const std::string& message) {
    (void)sessionId;
    (void)message;
}

void AccountServer::addAccount(int sessionId, std::string_view rest) {
    const auto [name, password] = SplitAtSlash(rest);
    const StoreResult result = Store.Create(name, password);
    if (result != StoreResult::Ok) {
        notice(sessionId, CreateRefusal(result));
        return;
    }
    Sessions[sessionId] = std::string(name);
    save();
    reply(sessionId, DisplayMessage(*Store.Find(name)));
}

void AccountServer::loadAccount(int sessionId, std::string_view rest) {
    const auto [name, password] = SplitAtSlash(rest);
    const AccountRecord* account = Store.LogIn(name, password);
    if (!account) {
        Sessions.erase(sessionId); // a failed log-in leaves the session logged out
        reply(sessionId, "Password");
        return;
    }
    Sessions[sessionId] = account->Name;
    reply(sessionId, DisplayMessage(*account));
}

void AccountServer::mailPassword(int sessionId, std::string_view) {
    notice(sessionId, "The password has been sent to the account's e-mail address.");
}

void AccountServer::loginCharacter(int sessionId, std::string_view rest) {
    const std::string_view character = SplitAtSlash(rest).first; // the machine identifier is not kept
    const AccountRecord* account = Store.Find(sessionAccount(sessionId));
    if (!account || Store.MarkPlayed(account->Name, character, Today()) != StoreResult::Ok) {
        notice(sessionId, kNotOnAccount);
        return;
    }
    save();
    const CharacterRecord& entering = *account->Find(character);
    Playing[sessionId] = entering.Name;
    reply(sessionId, CritInfoMessage(entering));
    if (hasSession(sessionId)) onCharacterEntered(sessionId, entering);
}

void AccountServer::transferCharacter(int sessionId, std::string_view rest) {
    const auto [character, other] = SplitAtSlash(rest);
    const AccountRecord* account = loggedIn(sessionId);
    if (!account) return;
    const StoreResult result = Store.Transfer(account->Name, character, other);
    if (result != StoreResult::Ok) {
        notice(sessionId, TransferRefusal(result));
        return;
    }
    save();
    reply(sessionId, "AccountEnableCrit");
}

void AccountServer::changePassword(int sessionId, std::string_view password) {
    const AccountRecord* account = loggedIn(sessionId);
    if (!account) return;
    switch (Store.SetPassword(account->Name, password)) {
    case StoreResult::Ok:
        save();
        notice(sessionId, "Your password has been changed.");
        return;
    case StoreResult::EmptyPassword:
        notice(sessionId, "Please enter a password.");
        return;
    default:
        notice(sessionId, "That password is too long.");
        return;
    }
}

void AccountServer::changeEmail(int sessionId, std::string_view address) {
    const AccountRecord* account = loggedIn(sessionId);
    if (!account) return;
    if (Store.SetEmail(account->Name, address) != StoreResult::Ok) {
        notice(sessionId, "That e-mail address cannot be used.");
        return;
    }
    save();
    notice(sessionId, "Your e-mail address has been changed.");
}

void AccountServer::deleteCharacter(int sessionId, std::string_view character) {
    const AccountRecord* account = loggedIn(sessionId);
    if (!account) return;
    if (Store.DeleteCharacter(account->Name, character) != StoreResult::Ok) {
        notice(sessionId, kNotOnAccount);
        return;
    }
    save();
    closeSession(sessionId); // the client tells the player the character was deleted
}

void AccountServer::generateUser(int sessionId, std::string_view name) {
    if (!loggedIn(sessionId)) return;
    Creating.erase(sessionId); // asking for another name lets the last one go
    bool free = IsCreatableName(name) && !Store.CharacterNameTaken(name);
    for (const auto& [other, creation] : Creating) {
        const bool same = creation.Name.size() == name.size() &&
                          std::equal(name.begin(), name.end(), creation.Name.begin(), [](char a, char b) {
                              return (a | 0x20) == (b | 0x20); // names are letters and "_" only
                          });
        if (same) free = false;
    }
    if (!free) {
        reply(sessionId, "GenerateUserUsernameNotAccepted");
        return;
    }
    Creating[sessionId] = Creation{std::string(name), -1, {}};
    reply(sessionId, "GenerateUserUsernameAccepted");
}

void AccountServer::rollStats(int sessionId, std::string_view race) {
    const auto it = Creating.find(sessionId);
    if (it == Creating.end() || race.size() != 1 || race[0] < '0' || race[0] >= char('0' + kRaceCount))
        return;
    it->second.Race = race[0] - '0';
    it->second.Roll = RollStats(*Rolls, it->second.Race);
    reply(sessionId, "GenerateUser" + StatsInText(it->second.Roll));
}

void AccountServer::newCharacter(int sessionId, std::string_view rest) {
    const AccountRecord* account = loggedIn(sessionId);
    if (!account) return;
    const auto it = Creating.find(sessionId);
    const auto made = ParseNewCharacter(rest);
    if (it == Creating.end() || !made || made->Name != it->second.Name || it->second.Race < 0) {
        notice(sessionId, "That character cannot be made: choose a name and roll first.");
        return;
    }
    if (!it->second.Roll.Classes[std::size_t(made->Class)]) {
        notice(sessionId, "Your stats do not allow that class.");
        return;
    }
    CharacterRecord character{made->Name,
                              1,
                              std::string(kRaceNames[std::size_t(it->second.Race)]),
                              std::string(kClassNames[std::size_t(made->Class)]),
                              made->Gender,
                              "Never",
                              made->Portrait};
    const std::string accountName = account->Name;
    const StoreResult result = Store.AddCharacter(accountName, character);
    if (result != StoreResult::Ok) {
        notice(sessionId, result == StoreResult::NameTaken
                              ? "That name has been taken meanwhile."
                              : "This account has no room for another character.");
        return;
    }
    Creating.erase(it);
    save();
    // The client adds a listed character after those it shows: only the new one is sent.
    const AccountRecord* updated = Store.Find(accountName);
    reply(sessionId, DisplayMessage(AccountRecord{updated->Name, {}, updated->Email, {character}}));
}

void AccountServer::setPortrait(int sessionId, std::string_view index) {
    const auto playing = Playing.find(sessionId);
    if (playing == Playing.end()) return;
    int portrait = -1;
    if (!index.empty() && index.size() <= 2 &&
        std::all_of(index.begin(), index.end(), [](char c) { return c >= '0' && c <= '9'; }))
        portrait = std::stoi(std::string(index));
    if (Store.SetPortrait(sessionAccount(sessionId), playing->second, portrait) != StoreResult::Ok) {
        reply(sessionId, "TMD{c0c0c0{There is no such portrait.");
        return;
    }
    save();
    reply(sessionId, "TMD{c0c0c0{Your portrait is now number " + std::to_string(portrait + 1) + ".");
}

const AccountRecord* AccountServer::loggedIn(int sessionId) {
    const AccountRecord* account = Store.Find(sessionAccount(sessionId));
    if (!account) notice(sessionId, kNotLoggedIn);
    return account;
}

void AccountServer::reply(int sessionId, const std::string& message) {
    send(sessionId, {message}, true);
}

void AccountServer::notice(int sessionId, std::string_view text) {
    reply(sessionId, "AccountMSG" + std::string(text));
}

void AccountServer::save() {
    QSaveFile file(File);
    const std::string text = Store.Save();
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        qWarning("gloamrest-devserver: cannot save the accounts to %s: %s", qPrintable(File),
                 qPrintable(file.errorString()));
    }
}

} // namespace gr::dev
