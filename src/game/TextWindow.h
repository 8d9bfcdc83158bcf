#pragma once
// The game window's text display TD: the game's marked-up lines in colour, with links that a click opens
// in the system's browser. It keeps a bounded amount of text and can be paused, in which case lines wait
// in PausedLines.
#include <QTextCursor>
#include <QTextEdit>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "game/TextMarkup.h"

namespace gr {

class RandomSource;
class Shell;

class TextWindow : public QTextEdit {
    Q_OBJECT
  public:
    // Lines held while the text is paused. A player pauses to read back through a fight or a long talk
    // for some minutes; a busy room sends a few lines a second, so 10,000 lines cover about an hour of
    // reading. Each held line keeps at most what the window would show of it (kMaxMarkupLineBytes), so
    // the pause never holds more than about 80 MiB, however much the server sends. Lines beyond it are
    // dropped and counted, and resuming says how many.
    static constexpr std::size_t kMaxPausedLines = 10000;
    static constexpr int kKeptAfterTrim = 700; // characters left when the text passes TextBufferSize

    TextWindow(Shell& shell, RandomSource& random, QWidget* parent = nullptr);

    void PrintLine(const std::string& line);       // wire bytes; held in PausedLines while TextPaused
    void PrintSystemLine(const std::string& text); // PrintLine("{00c000{" + text)
    void RenderLine(const std::string& line);      // trims, then draws the markup line
    void ClearText();                              // "CLS" and "/cls": empties the text, PausedLines kept
    void Pause();                                  // "/scroll" while not paused
    void Resume();                                 // "/scroll" while paused
    std::string LinkAt(int caretPosition) const;   // the address a click at that caret position opens, or ""

    // Told of every line as it is drawn (after a pause, when the held lines are drawn), with what it
    // draws: the text log keeps the game text from here.
    std::function<void(const std::vector<DrawOp>& ops)> LineDrawn;

    bool TextPaused = false;
    std::deque<std::string> PausedLines; // oldest first
    std::size_t DroppedWhilePaused = 0;  // lines that found the pause full
    int TextBufferSize = 40000;          // characters
    int TextSize = kDefaultTextSize;     // 8..18

  protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void Trim();
    void Draw(const std::vector<DrawOp>& ops);
    void Insert(const QString& text, const TextStyle& style);

    Shell& shell;
    RandomSource& random;
    MarkupState state;
    int sizeInEffect = kDefaultTextSize; // the TextSize that state's size was last set from
    QTextCursor end;                     // the insertion point, kept at the end of the text
};

} // namespace gr
