#pragma once
// The find bar over the text display: Ctrl+F opens it with the keyboard in its box; every match is
// highlighted as the player types; Enter finds the previous match (older text, where a player looks back
// to), Shift+Enter the next one (newer text), the buttons do the same; "Match case" narrows the search.
// Escape closes it and gives the keyboard back.
#include <QFrame>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace gr {

class TextWindow;

class FindBar : public QFrame {
    Q_OBJECT
  public:
    FindBar(TextWindow& text, QWidget* parent);

    void Open();  // shows the bar over the text display's top right corner, the keyboard in its box
    void Close(); // hides it, clears the highlights, and calls Closed
    void Find(bool older);
    void Place(); // over the text display's top right corner

    std::function<void()> Closed; // the game gives the keyboard back to the input line

    QLineEdit* Term = nullptr;
    QPushButton* Older = nullptr;
    QPushButton* Newer = nullptr;
    QCheckBox* MatchCase = nullptr;
    QLabel* Outcome = nullptr;
    QPushButton* CloseButton = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TextWindow& text;
};

} // namespace gr
