#pragma once
// The game window's text display TD: the game's marked-up lines in colour, with links that a click opens
// in the system's browser. It keeps a bounded amount of text and can be paused, in which case lines wait
// in PausedLines.
//
// The text lives in a QTextDocument that is never laid out as a whole: the display lays out and paints
// only the lines in view, at most once a frame, so a flood of lines costs little more than storing them.
// Scrolling goes by lines of the document, counted from the line at the bottom of the view; while the
// player reads back, new text does not move the view and a mark says that more is waiting below.
#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QTextLayout>
#include <algorithm>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "text/TextMarkup.h"

class QTextDocument;
class QTimer;

namespace gr {

class RandomSource;
class Shell;

class TextWindow : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // Lines held while the text is paused. A player pauses to read back through a fight or a long talk
    // for some minutes; a busy room sends a few lines a second, so 10,000 lines cover about an hour of
    // reading. Each held line keeps at most what the window would show of it (kMaxMarkupLineBytes), so
    // the pause never holds more than about 80 MiB, however much the server sends. Lines beyond it are
    // dropped and counted, and resuming says how many.
    static constexpr std::size_t kMaxPausedLines = 10000;
    static constexpr int kKeptAfterTrim = 700; // characters left when the text passes TextBufferSize
    static constexpr int kFrameMs = 16;        // the view is laid out and painted at most this often

    TextWindow(Shell& shell, RandomSource& random, QWidget* parent = nullptr);
    ~TextWindow() override;

    void PrintLine(const std::string& line);       // wire bytes; held in PausedLines while TextPaused
    void PrintSystemLine(const std::string& text); // PrintLine("{00c000{" + text)
    void RenderLine(const std::string& line);      // trims, then draws the markup line
    void ClearText();                              // "CLS" and "/cls": empties the text, PausedLines kept
    void Pause();                                  // "/scroll" while not paused
    void Resume();                                 // "/scroll" while paused
    std::string LinkAt(int caretPosition) const;   // the address a click at that caret position opens, or ""

    QTextDocument* document() const { return doc; }
    QString toPlainText() const;
    QString toHtml() const;

    // Selecting and copying: positions in the document's characters.
    bool HasSelection() const { return selectionStart != selectionEnd; }
    int SelectionFrom() const { return std::min(selectionStart, selectionEnd); }
    int SelectionTo() const { return std::max(selectionStart, selectionEnd); }
    QString SelectedText() const;
    void SelectAll();
    void CopySelection() const;

    // Where a caret at that position stands in the view (viewport coordinates), empty when it is not in
    // view; the position at a point of the view, or -1.
    QRect PositionRect(int position) const;
    int PositionAt(QPoint point) const;

    // Scrolling back.
    bool AtBottom() const;
    bool NewTextBelow() const { return newBelow; }
    void ScrollToBottom();
    void ScrollPages(int pages); // positive: towards newer text
    void ShowPosition(int position);

    // Finding: every match of the term is highlighted; FindNext moves the current match forwards or
    // backwards from the current one (or from the newest text) and brings it into view. False when there
    // is no match at all.
    void SetSearch(const QString& term, bool matchCase);
    bool FindNext(bool backwards);
    int CurrentMatch() const { return matchStart; } // -1: none

    // Told of every line as it is drawn (after a pause, when the held lines are drawn), with what it
    // draws: the text log keeps the game text from here.
    std::function<void(const std::vector<DrawOp>& ops)> LineDrawn;
    // Which lines are announced to a screen reader: all, or only chat and the client's own lines.
    bool AnnounceChatOnly = false;

    bool TextPaused = false;
    std::deque<std::string> PausedLines; // oldest first
    std::size_t DroppedWhilePaused = 0;  // lines that found the pause full
    int TextBufferSize = 40000;          // characters
    int TextSize = kDefaultTextSize;     // 8..18

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // One document line as laid out for the view.
    struct Shown {
        int Block = 0; // the block's number
        int Top = 0;   // in viewport pixels
        int Height = 0;
    };

    void Trim();
    void Draw(const std::vector<DrawOp>& ops);
    void Insert(const QString& text, const TextStyle& style);
    void Announce(int position, const std::vector<DrawOp>& ops, bool systemLine);
    void Changed(); // the text changed: a frame is due
    void Frame();   // the scroll range follows the text, then the view is painted
    void SyncScroll();
    void LayOut() const;               // lays out the lines in view into shown
    int LayOutBlock(int number) const; // its height at the view's width
    int TextWidth() const;
    int MinimumBottom() const;
    std::vector<QTextLayout::FormatRange> Highlights(int block) const;

    Shell& shell;
    RandomSource& random;
    QTextDocument* doc;
    MarkupState state;
    int sizeInEffect = kDefaultTextSize; // the TextSize that state's size was last set from
    bool systemLine = false;             // the line being drawn is the client's own

    QTimer* frameTimer;
    QElapsedTimer sinceFrame;
    bool scrollDirty = true;
    bool following = true; // the view shows the newest text and keeps showing it
    bool syncing = false;  // the scroll range is being set to the text, not moved by the player
    bool newBelow = false;
    mutable bool layoutDirty = true;
    mutable std::vector<Shown> shown; // top to bottom
    mutable int minimumBottom = -1;   // cached; -1: not known

    int selectionStart = 0, selectionEnd = 0, anchor = -1;
    QString searchTerm;
    bool searchCase = false;
    int matchStart = -1, matchLength = 0;
};

// What a screen reader is told of a drawn line: its text as inserted into the display, or "" when the
// player wants only chat and the client's own lines (ownLine) and the line is neither.
QString AnnouncedText(const std::vector<DrawOp>& ops, bool ownLine, bool chatOnly);

} // namespace gr
