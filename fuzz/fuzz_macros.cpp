// A macro file from the data folder (or a typed "/macro" line) through everything that reads it: reading
// stays inside the bytes, never yields more than 13 rows, never a line break inside a row, and what it read
// is written back as 26 lines that read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Targets.h"
#include "core/RunTimeError.h"
#include "input/Macros.h"

int gr::fuzz::Macros(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    gr::MacroTable table;
    const std::size_t rows = gr::ReadMacroFile(bytes, table);
    Check(rows <= gr::kMacroRows);
    for (const auto& row : table)
        for (const auto& field : row) {
            Check(field.size() <= gr::kMaxMacroTextBytes);
            Check(field.find_first_of("\r\n") == std::string::npos);
        }
    const std::string file = gr::MacroFileText(table);
    gr::MacroTable back;
    Check(gr::ReadMacroFile(file, back) == gr::kMacroRows);
    Check(back == table);
    (void)gr::MacroFlagSet(bytes);
    (void)gr::MacroSetCommand(bytes);
    (void)gr::MacroFilePrefix(bytes, 0);
    try {
        if (const auto definition = gr::MacroCommand(bytes)) {
            Check(definition->Row < gr::kMacroRows);
            Check(definition->Text.find_first_of("\r\n") == std::string::npos);
        }
    } catch (const gr::RunTimeError&) {
    }
    return 0;
}

GLOAMREST_FUZZ_ENTRY(gr::fuzz::Macros)
