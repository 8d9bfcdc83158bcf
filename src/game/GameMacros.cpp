// The game window's macros: the sets read at load, "/macro" and "/macroset", and the macro editor.
#include <QComboBox>

#include "app/App.h"
#include "core/RunTimeError.h"
#include "game/Game.h"
#include "input/MacroSets.h"
#include "input/Macros.h"
#include "input/MacrosChange.h"
#include "login/Lodge.h"

namespace gr {

void Game::StartMacros() {
    if (!MacroFiles) MacroFiles = std::make_unique<MacroSets>(app.Session, app.DataFolder);
    MacroFiles->Start(app.lodge ? app.lodge->ServerChoice->currentIndex() : 0);
}

void Game::MacroLine(const std::string& command, const std::string& typed) {
    if (!MacroFiles) StartMacros();
    if (command.starts_with("/macroset ")) {
        if (const auto set = MacroSetCommand(command)) MacroFiles->LoadMacroSet(*set);
        PrintSystemLine("Macro set changed.");
        return;
    }
    // A refused definition says nothing; a number that is no number throws, and the line stays typed.
    const auto definition = MacroCommand(typed);
    if (!definition) return;
    auto& row = app.Session.Macros[definition->Row];
    if (definition->Flag) row[1] = *definition->Flag;
    row[0] = definition->Text;
    if (!MacroFiles->Write(app.Session.Macros)) {
        // The line stays typed, to try again; the macro works for this run meanwhile.
        PrintSystemLine("The macros could not be saved.");
        throw RunTimeError("macro file not written");
    }
    PrintSystemLine("Macro changed.");
}

void Game::Edit_Macros_Click() {
    if (!MacroFiles) StartMacros();
    if (!MacroEditor) {
        MacroEditor = std::make_unique<MacrosChange>(app.Session, *MacroFiles);
        MacroEditor->Report = [this](const std::string& text) { PrintSystemLine(text); };
        WatchWindow(MacroEditor.get());
    }
    MacroEditor->Edit_Macros_Click();
}

} // namespace gr
