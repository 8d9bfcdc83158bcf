#pragma once
// The macro editor: the thirteen macros of the current set with their auto-send boxes, the set switch,
// and saving. Keyboard first: Tab goes from F1 down to the buttons, Enter saves, Escape cancels.
#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "input/Macros.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace gr {

class MacroSets;
struct SessionState;

class MacrosChange : public QDialog {
    Q_OBJECT
  public:
    MacrosChange(SessionState& session, MacroSets& sets, QWidget* parent = nullptr);

    // Fills the boxes from the macros and shows the window (not modal).
    void Edit_Macros_Click();
    void Save_Click();
    void Cancel_Click();
    void MacroSet_Click(int index);

    // Told when a set could not be written to its file.
    std::function<void(const std::string&)> Report;

    std::array<QLineEdit*, kMacroRows> Macro{};
    std::array<QCheckBox*, kMacroRows> SendAuto{};
    QGroupBox* MacroSetFrame = nullptr;
    std::array<QRadioButton*, kMacroSets> MacroSet{};
    QPushButton* Save = nullptr;
    QPushButton* Cancel = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override; // Escape

  private:
    void Fill();
    // What the boxes hold, as the file gets it: the flags as the editor writes them.
    MacroTable OnScreen() const;
    bool WriteSet(const MacroTable& table);

    SessionState& Session;
    MacroSets& Sets;
    MacroTable Filled; // what Fill put on screen, to tell whether the player changed anything
};

} // namespace gr
