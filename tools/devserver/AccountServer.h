#pragma once
// The local server with accounts: answers the login phase's account requests from an AccountStore kept in a
// file, which is saved after every change. Requests it does not know go to onGameMessage, and a character
// entering the game to onCharacterEntered: a subclass adds the game world there.
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "character/StatsIn.h"
#include "core/Random.h"
#include "devserver/AccountStore.h"
#include "devserver/DevServer.h"

namespace gr::dev {

// An accounts file larger than this is refused at start instead of read: the bounds of the store keep a
// file the server wrote far below it, and refusing (rather than reading part) keeps the next save from
// dropping what was not read.
constexpr qint64 kMaxAccountsFileBytes = 64 * 1024 * 1024;

class AccountServer : public DevServer {
  public:
    explicit AccountServer(QString accountsFile, QObject* parent = nullptr);

    // Reads the accounts file; a missing file is an empty store. False, keeping the store empty, when the
    // file exists but cannot be read or is larger than kMaxAccountsFileBytes; accountsError() tells why.
    // Lines skipped as malformed are counted in `report`.
    bool loadAccounts(LoadReport* report = nullptr);
    QString accountsError() const { return AccountsError; }
    const AccountStore& accounts() const { return Store; }

    // Today's date as yyyy-MM-dd, for "last played"; the local date unless replaced (tests).
    void setToday(std::function<std::string()> today) { Today = std::move(today); }
    // The account a session is logged in as ("" when none).
    std::string sessionAccount(int sessionId) const;
    // Where the stat rolls come from; the clock-seeded draws unless replaced (tests).
    void setRandom(gr::RandomSource& random) { Rolls = &random; }

  protected:
    void onMessage(int sessionId, const std::string& message) override;
    void onSessionClosed(int sessionId) override;
    // Any request that is not an account request: what the game window sends during play.
    virtual void onGameMessage(int sessionId, const std::string& message);
    // The character has entered the game: "CritInfo" has just been sent to the session.
    virtual void onCharacterEntered(int sessionId, const CharacterRecord& character) {
        (void)sessionId;
        (void)character;
    }

  private:
    using Handler = void (AccountServer::*)(int sessionId, std::string_view rest);
    struct Request {
        std::string_view Prefix;
        Handler Handle;
    };
    static const Request Requests[];

    void addAccount(int sessionId, std::string_view rest);
    void loadAccount(int sessionId, std::string_view rest);
    void mailPassword(int sessionId, std::string_view rest);
    void loginCharacter(int sessionId, std::string_view rest);
    void transferCharacter(int sessionId, std::string_view rest);
    void changePassword(int sessionId, std::string_view rest);
    void changeEmail(int sessionId, std::string_view rest);
    void deleteCharacter(int sessionId, std::string_view rest);
    // Character creation (see CharacterCreation.h for the exchange).
    void generateUser(int sessionId, std::string_view name);
    void rollStats(int sessionId, std::string_view race);
    void newCharacter(int sessionId, std::string_view rest);
    void setPortrait(int sessionId, std::string_view index);

    // The session's account, or nullptr after telling the client that it is not logged in.
    const AccountRecord* loggedIn(int sessionId);
    void reply(int sessionId, const std::string& message);
    void notice(int sessionId, std::string_view text); // "AccountMSG" + text
    void save();

    QString File;
    QString AccountsError;
    AccountStore Store;
    std::map<int, std::string> Sessions; // session id to the account it is logged in as
    // A name being rolled on a connection, and its last roll.
    struct Creation {
        std::string Name;
        int Race = -1; // -1 until the first roll
        StatsRoll Roll;
    };
    std::map<int, Creation> Creating;
    std::map<int, std::string> Playing; // session id to the character it entered the game with
    gr::ClockSeededRandom OwnRandom;
    gr::RandomSource* Rolls = &OwnRandom;
    std::function<std::string()> Today;
};

} // namespace gr::dev
