#include "input/MacrosChange.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/App.h"
#include "core/WireText.h"
#include "input/MacroSets.h"

namespace gr {

namespace {
QString RowLabel(std::size_t row) {
    return row == kSpecialMacroRow ? QStringLiteral("/s") : QStringLiteral("F%1").arg(row + 1);
}
} // namespace

MacrosChange::MacrosChange(SessionState& session, MacroSets& sets, QWidget* parent)
    : QDialog(parent), Session(session), Sets(sets) {
    setWindowTitle(QStringLiteral("Macro Editor"));
    setAccessibleName(QStringLiteral("Macro Editor"));
    auto* rows = new QGridLayout;
    QWidget* previous = nullptr;
    auto chain = [&previous](QWidget* next) {
        if (previous) setTabOrder(previous, next);
        previous = next;
    };
    for (std::size_t r = 0; r < kMacroRows; ++r) {
        auto* label = new QLabel(RowLabel(r), this);
        Macro[r] = new QLineEdit(this);
        Macro[r]->setMaxLength(int(kMaxMacroTextBytes));
        Macro[r]->setMinimumWidth(360);
        Macro[r]->setAccessibleName(RowLabel(r));
        label->setBuddy(Macro[r]);
        SendAuto[r] = new QCheckBox(QStringLiteral("Autosend"), this);
        // Thirteen boxes share the caption; the name says whose box it is.
        SendAuto[r]->setAccessibleName(RowLabel(r) + QStringLiteral(" Autosend"));
        rows->addWidget(label, int(r), 0);
        rows->addWidget(Macro[r], int(r), 1);
        rows->addWidget(SendAuto[r], int(r), 2);
        chain(Macro[r]);
        chain(SendAuto[r]);
    }

    MacroSetFrame = new QGroupBox(QStringLiteral("Macro Set"), this);
    MacroSetFrame->setAccessibleName(QStringLiteral("Macro Set"));
    auto* setRow = new QHBoxLayout(MacroSetFrame);
    for (int s = 0; s < kMacroSets; ++s) {
        MacroSet[std::size_t(s)] = new QRadioButton(QStringLiteral("Set %1").arg(s + 1), MacroSetFrame);
        MacroSet[std::size_t(s)]->setAccessibleName(QStringLiteral("Set %1").arg(s + 1));
        setRow->addWidget(MacroSet[std::size_t(s)]);
        connect(MacroSet[std::size_t(s)], &QRadioButton::clicked, this, [this, s] { MacroSet_Click(s); });
        chain(MacroSet[std::size_t(s)]);
    }

    Save = new QPushButton(QStringLiteral("&Save Changes"), this);
    Save->setAccessibleName(QStringLiteral("Save Changes"));
    Save->setDefault(true);
    Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    Cancel->setAccessibleName(QStringLiteral("Cancel"));
    Cancel->setAutoDefault(false);
    chain(Save);
    chain(Cancel);
    connect(Save, &QPushButton::clicked, this, &MacrosChange::Save_Click);
    connect(Cancel, &QPushButton::clicked, this, &MacrosChange::Cancel_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Save);
    buttons->addWidget(Cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addWidget(MacroSetFrame);
    layout->addLayout(buttons);
}

void MacrosChange::Edit_Macros_Click() {
    Fill();
    show();
    raise();
    activateWindow();
    Macro[0]->setFocus(Qt::OtherFocusReason);
}

void MacrosChange::Fill() {
    for (std::size_t r = 0; r < kMacroRows; ++r) {
        Macro[r]->setText(FromWire(Session.Macros[r][0]));
        // Checked exactly when the function key sends the macro at once.
        SendAuto[r]->setChecked(MacroFlagSet(Session.Macros[r][1]));
    }
    MacroSet[std::size_t(Sets.CurrentSet())]->setChecked(true);
    Filled = OnScreen();
}

MacroTable MacrosChange::OnScreen() const {
    MacroTable table;
    for (std::size_t r = 0; r < kMacroRows; ++r)
        table[r] = {FlatMacroText(ToWire(Macro[r]->text())), EditorFlag(SendAuto[r]->isChecked())};
    return table;
}

bool MacrosChange::WriteSet(const MacroTable& table) {
    if (Sets.Write(table)) return true;
    if (Report) Report("The macros could not be saved.");
    return false;
}

void MacrosChange::Save_Click() {
    const MacroTable table = OnScreen();
    WriteSet(table);
    // The macros take what is on screen even when the file could not be written: they work for this run.
    for (std::size_t r = 0; r < kMacroRows; ++r)
        Session.Macros[r] = {table[r][0], SendAuto[r]->isChecked() ? "1" : "0"};
    hide();
}

void MacrosChange::MacroSet_Click(int index) {
    // The set on screen goes back to its file before the other one is read; a set the player did not
    // touch is left as its file has it.
    const MacroTable table = OnScreen();
    if (table != Filled && !WriteSet(table)) {
        // Not written: the edits stay on screen with their set, rather than being lost.
        MacroSet[std::size_t(Sets.CurrentSet())]->setChecked(true);
        return;
    }
    // Once the click is over: an arrow key that chose the set moves the focus onto it after this.
    QTimer::singleShot(0, Save, [this] { Save->setFocus(Qt::OtherFocusReason); });
    Sets.LoadMacroSet(index);
    Fill();
}

void MacrosChange::Cancel_Click() {
    hide();
}

void MacrosChange::reject() {
    Cancel_Click();
}

void MacrosChange::closeEvent(QCloseEvent* event) {
    // Closing the window is cancelling: edits not saved are dropped.
    event->ignore();
    Cancel_Click();
}

} // namespace gr
