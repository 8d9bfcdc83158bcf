#pragma once
// The machine's own records, kept apart from the player's settings in a hidden settings file: the
// persistent machine identifier and the protection records (a machine ban, a day ban until midnight GMT).
// RegRead and RegWrite are the only access to it.
#include <QString>
#include <memory>
#include <optional>

class QSettings;

namespace gr {

class RandomSource;

class MachineStore {
public:
    explicit MachineStore(const QString& path);
    ~MachineStore();

    // The text stored under key/valueName, or "" when there is none.
    QString RegRead(const QString& key, const QString& valueName);
    // Stores the text under key/valueName; RegStatus tells whether it reached the file (0) or not.
    void RegWrite(const QString& key, const QString& valueName, const QString& text);
    int RegStatus = 0;

    // Makes sure a machine identifier exists, creating one when there is none. False when it cannot be
    // written and read back.
    bool EnsureMachineIdentifier(RandomSource& random);
    QString MachineIdentifier();

    // A ban of this machine, for good.
    bool HasBanRecord();
    void RecordBan();
    // The day ban: its record text while it lasts (until midnight GMT of the day it was recorded);
    // nothing when there is none.
    std::optional<QString> ActiveDayBan();
    void RecordDayBan(const QString& data);
    void RemoveDayBan();

private:
    std::unique_ptr<QSettings> Store;
};

} // namespace gr
