#pragma once
// The portrait selector: the forty portraits of character creation, the character's current one marked.
// Choosing one sends "/portrait" and the portrait's index (0 to 39) to the server, which keeps it; a server
// that does not know the command may ignore it.
#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "character/CharacterTables.h"

class QLabel;
class QPushButton;

namespace gr {

class PictureSource;

// The command that asks for portrait index (0 to 39).
std::string PortraitCommand(int index);

class Character_Portrait_Selector : public QDialog {
    Q_OBJECT
  public:
    // current: the character's portrait index, -1 when not known. choose receives the chosen index.
    Character_Portrait_Selector(PictureSource& pictures, int current, std::function<void(int)> choose,
                                QWidget* parent = nullptr);

    void HavePic_Click(int index);
    // Redraws the portraits that show this picture (it has just arrived).
    void PictureArrived(int number);
    // Marks the portrait as the current one (-1: none).
    void Mark(int index);
    int Current() const { return CurrentIndex; }

    std::array<QPushButton*, kPortraitCount> HavePic{};
    QLabel* CurrentText = nullptr;
    QPushButton* CloseButton = nullptr;

  private:
    void ShowPortrait(int index);

    PictureSource& pictures;
    std::function<void(int)> Choose;
    int CurrentIndex = -1;
};

} // namespace gr
