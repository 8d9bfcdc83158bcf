#pragma once
// The character's four macro sets on disk: which file is current, reading a set into the macros, writing
// the current one. Each file is written whole or not at all, so a crash never leaves half a set.
#include <QString>
#include <array>
#include <optional>

#include "input/Macros.h"

namespace gr {

struct SessionState;

class MacroSets {
  public:
    MacroSets(SessionState& session, QString folder);

    // The game window's start: the file prefix for the character and the server choice, then set 1's file
    // read into the macros (made empty when missing). Rows the file does not reach keep what they hold.
    void Start(int serverIndex);
    // Makes set 0 to 3 current and reads its file into the macros; rows the file does not reach are
    // emptied. A missing file is made empty first.
    void LoadMacroSet(int set);
    // Writes the table as the current set's file (the flags as they are given). False when it could not
    // be written; the file then keeps what it held.
    bool Write(const MacroTable& table);

    int CurrentSet() const;
    // The current set's file in the data folder; empty when the character keeps no files.
    QString CurrentFile() const;

  private:
    std::optional<QByteArray> ReadCurrent() const;

    SessionState& Session;
    QString Folder;
    // A character whose name cannot be a file name keeps its sets here, for this run only.
    std::array<std::optional<MacroTable>, kMacroSets> Unfiled;
};

} // namespace gr
