#pragma once
// The local server's accounts and their characters, plain C++ over byte strings (no Qt). Names, passwords
// and addresses are wire bytes (one per character, Windows-1252) and are compared exactly, byte for byte.
//
// The store also writes and reads its own text form, one record a line:
//   account<TAB>name<TAB>password<TAB>e-mail
//   character<TAB>account name<TAB>name<TAB>level<TAB>race<TAB>class<TAB>gender<TAB>last played<TAB>portrait
// with each character line after the line of its account. The portrait (0 to 39) may be missing, in a file
// written before characters had one: it is then 0.
// Every byte that is not printable ASCII, and every space and "%", is written as "%" and two hex digits,
// so the file is plain ASCII that any editor shows, and Windows-1252 bytes come back exactly.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace gr::dev {

struct CharacterRecord {
    std::string Name;
    int Level = 1;
    std::string Race;
    std::string Class;
    std::string Gender;               // "Male" or "Female"
    std::string LastPlayed = "Never"; // yyyy-MM-dd or "Never"
    int Portrait = 0;                 // index 0 to kMaxPortrait

    bool operator==(const CharacterRecord&) const = default;
};

struct AccountRecord {
    std::string Name;
    std::string Password;
    std::string Email;
    std::vector<CharacterRecord> Characters;

    const CharacterRecord* Find(std::string_view character) const;
    bool operator==(const AccountRecord&) const = default;
};

// Bounds on what the store holds, so that a hand-edited or hostile file cannot make the server hold
// unbounded memory. A local server for demos and tests never comes near them: accounts are made one
// request at a time, and characters only move between accounts (each new account brings two).
constexpr std::size_t kMaxAccounts = 10000;
constexpr std::size_t kMaxCharactersPerAccount = 500;
// Names and other values that go back to the client, and passwords. With every byte escaped (three bytes
// each) a record line stays below kMaxLineBytes.
constexpr std::size_t kMaxNameBytes = 64;
constexpr std::size_t kMaxValueBytes = 255;
// A longer line cannot have been written by the store: it is skipped unread, so one broken line cannot make
// the loader hold a huge string.
constexpr std::size_t kMaxLineBytes = 4096;
// Levels the store accepts from a file.
constexpr int kMaxLevel = 999;
// Portraits are indices 0 to 39 of the client's forty.
constexpr int kMaxPortrait = 39;

// Whether a value can go into the client's messages as one field: no control byte (zero included), none of
// the field separators ":", "/", "^" (of "^%^") and "%" (of "^%^" and "%$": a field ending in "^%" would
// otherwise run into a following "^%^"), and neither "&SY" nor "{[}]" (the framing has no escapes). Empty
// is fine here; names check that separately.
bool IsFieldSafe(std::string_view value);
// A name of an account or character: not empty, at most kMaxNameBytes, field-safe.
bool IsFitName(std::string_view name);

// What an operation on the store came to.
enum class StoreResult {
    Ok,
    EmptyName,
    EmptyPassword,
    UnfitName,  // cannot be framed, or too long
    UnfitValue, // a password or e-mail address that is too long or cannot be framed
    NameTaken,
    StoreFull,   // kMaxAccounts reached
    NoAccount,   // the account named does not exist
    NoCharacter, // the character is not on the account
    NoTarget,    // the account to move a character to does not exist
    SameAccount, // moving a character to the account it is on
    NameClash,   // the other account already has a character of that name
    TargetFull,  // the other account has kMaxCharactersPerAccount characters
};

// The two characters a new account starts with, picked from a fixed list by a hash of the account name:
// the same name always gets the same two, which differ from each other, at levels 1 to 12, never played.
std::vector<CharacterRecord> StarterCharacters(std::string_view accountName);

// What loading a file skipped.
struct LoadReport {
    std::size_t MalformedLines = 0; // wrong field count, bad escape, unfit or out-of-range value
    std::size_t LongLines = 0;      // longer than kMaxLineBytes
    std::size_t Duplicates = 0;     // an account or character already loaded
    std::size_t OrphanLines = 0;    // a character of an account that is not loaded
    std::size_t OverBound = 0;      // beyond kMaxAccounts or kMaxCharactersPerAccount
};

class AccountStore {
  public:
    // Makes the account (password as given, no e-mail address) with its starter characters.
    StoreResult Create(std::string_view name, std::string_view password);
    const AccountRecord* Find(std::string_view name) const;
    // The account when the password matches exactly; nullptr otherwise.
    const AccountRecord* LogIn(std::string_view name, std::string_view password) const;

    // Sets the character's last-played date (yyyy-MM-dd).
    StoreResult MarkPlayed(std::string_view account, std::string_view character, std::string_view date);
    StoreResult Transfer(std::string_view account, std::string_view character, std::string_view toAccount);
    StoreResult DeleteCharacter(std::string_view account, std::string_view character);
    // Adds a new character to the account: NameTaken when any account has a character of that name,
    // whatever its letter case (names are the game's, not the account's).
    StoreResult AddCharacter(std::string_view account, CharacterRecord character);
    StoreResult SetPortrait(std::string_view account, std::string_view character, int portrait);
    // Whether any account has a character of this name, ignoring ASCII letter case.
    bool CharacterNameTaken(std::string_view name) const;
    StoreResult SetPassword(std::string_view account, std::string_view password);
    StoreResult SetEmail(std::string_view account, std::string_view email);

    std::size_t size() const { return Accounts.size(); }

    // The text form (see the top of this file), with a comment line that says what it is.
    std::string Save() const;
    // Reads the text form. Lines that are empty or start with "#" are comments; any other line that is
    // malformed, too long, a duplicate or beyond the bounds is skipped and counted in `report`.
    static AccountStore Load(std::string_view text, LoadReport* report = nullptr);

  private:
    AccountRecord* FindMutable(std::string_view name);

    std::map<std::string, AccountRecord, std::less<>> Accounts;
};

// The client's account display: "Display" + name + "/" + e-mail + "/" + number of characters + "/", then
// for each character name:level:race:class:gender:last played + "/".
std::string DisplayMessage(const AccountRecord& account);
// The chosen character: "CritInfo" + name^%^level^%^race^%^class^%^gender^%^last played.
std::string CritInfoMessage(const CharacterRecord& character);

} // namespace gr::dev
