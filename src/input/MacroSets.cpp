#include "input/MacroSets.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include "app/App.h"
#include "core/WireText.h"

namespace gr {

MacroSets::MacroSets(SessionState& session, QString folder) : Session(session), Folder(std::move(folder)) {}

void MacroSets::Start(int serverIndex) {
    Session.MacroFilePrefix = MacroFilePrefix(Session.CharacterName, serverIndex).value_or(std::string());
    // Set 1 is the one read here, so it is the one the macros are written back to.
    Session.MacroSetSuffix = MacroSetSuffix(0);
    if (const auto bytes = ReadCurrent())
        ReadMacroFile(std::string_view(bytes->constData(), std::size_t(bytes->size())), Session.Macros);
}

void MacroSets::LoadMacroSet(int set) {
    if (set < 0 || set >= kMacroSets) return;
    Session.MacroSetSuffix = MacroSetSuffix(set);
    MacroTable& table = Session.Macros;
    std::size_t reached = 0;
    if (Session.MacroFilePrefix.empty()) {
        if (const auto& kept = Unfiled[std::size_t(set)]) {
            table = *kept;
            reached = kMacroRows;
        }
    } else if (const auto bytes = ReadCurrent()) {
        reached = ReadMacroFile(std::string_view(bytes->constData(), std::size_t(bytes->size())), table);
    }
    for (std::size_t row = reached; row < kMacroRows; ++row)
        table[row] = {};
}

bool MacroSets::Write(const MacroTable& table) {
    const std::string text = MacroFileText(table);
    if (Session.MacroFilePrefix.empty()) {
        // Kept as the file would give it back.
        MacroTable kept;
        ReadMacroFile(text, kept);
        Unfiled[std::size_t(CurrentSet())] = kept;
        return true;
    }
    QSaveFile file(CurrentFile());
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(text.data(), qint64(text.size()));
    return file.commit();
}

int MacroSets::CurrentSet() const {
    return MacroSetOf(Session.MacroSetSuffix);
}

QString MacroSets::CurrentFile() const {
    if (Session.MacroFilePrefix.empty()) return QString();
    // Only safe names get this far; named as the account manager names them when it removes them.
    return QDir(Folder).filePath(FromWire(MacroFileName(Session.MacroFilePrefix, Session.MacroSetSuffix)));
}

std::optional<QByteArray> MacroSets::ReadCurrent() const {
    const QString path = CurrentFile();
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    // Opening for appending makes a missing file, empty; one that is there is left as it is.
    if (!file.exists() && file.open(QIODevice::Append)) file.close();
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.read(qint64(kMaxMacroFileBytes));
}

} // namespace gr
