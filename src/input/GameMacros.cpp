#include "input/GameMacros.h"

#include <QAction>
#include <QMenu>

#include "app/App.h"
#include "core/RunTimeError.h"
#include "input/MacroSets.h"
#include "input/Macros.h"
#include "input/MacrosChange.h"

namespace gr {

GameMacros::GameMacros(Host host, QMenu* character, QObject* parent)
    : QObject(parent), Window(std::move(host)) {
    Edit_Macros = character->addAction(QStringLiteral("Edit Macros"));
    connect(Edit_Macros, &QAction::triggered, this, &GameMacros::Edit_Macros_Click);
}

GameMacros::~GameMacros() = default;

void GameMacros::Start() {
    if (!MacroFiles) MacroFiles = std::make_unique<MacroSets>(Window.Session, Window.DataFolder);
    MacroFiles->Start(Window.Server());
}

void GameMacros::Line(const std::string& command, const std::string& typed) {
    if (!MacroFiles) Start();
    if (command.starts_with("/macroset ")) {
        if (const auto set = MacroSetCommand(command)) MacroFiles->LoadMacroSet(*set);
        Window.Print("Macro set changed.");
        return;
    }
    // A refused definition says nothing.
    const auto definition = MacroCommand(typed);
    if (!definition) return;
    auto& row = Window.Session.Macros[definition->Row];
    if (definition->Flag) row[1] = *definition->Flag;
    row[0] = definition->Text;
    if (!MacroFiles->Write(Window.Session.Macros)) {
        // The line stays typed, to try again; the macro works for this run meanwhile.
        Window.Print("The macros could not be saved.");
        throw RunTimeError("macro file not written");
    }
    Window.Print("Macro changed.");
}

void GameMacros::Edit_Macros_Click() {
    if (!MacroFiles) Start();
    if (!MacroEditor) {
        MacroEditor = std::make_unique<MacrosChange>(Window.Session, *MacroFiles);
        MacroEditor->Report = Window.Print;
        Window.Opened(MacroEditor.get());
    }
    MacroEditor->Edit_Macros_Click();
}

} // namespace gr
