#include "game/TextWindow.h"

#include <QColor>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "core/WireText.h"
#include "platform/Shell.h"

namespace gr {

namespace {

QColor ColourOf(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

// The window's own colours come from the text markup's constants, where their contrast is checked.
QString StyleSheet() {
    return QStringLiteral("QTextEdit { background: %1; color: %2; border: none;"
                          " selection-background-color: #3d2f5c; selection-color: #f3e9d2; }")
               .arg(ColourOf(kTextBackgroundColour).name(), ColourOf(kDefaultTextColour).name()) +
           QStringLiteral(
               "QScrollBar:vertical { background: #1a1229; width: 12px; margin: 0; border-radius: 5px; }"
               "QScrollBar::handle:vertical { background: #5e4d7a; border-radius: 5px; min-height: 24px; }"
               "QScrollBar::handle:vertical:hover { background: #8c7aa8; }"
               "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
               "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");
}

QTextCharFormat FormatOf(const TextStyle& style) {
    QTextCharFormat format;
    format.setForeground(ColourOf(style.Colour));
    format.setFontPointSize(style.Size);
    format.setFontItalic(style.Italic);
    format.setFontUnderline(style.Underline);
    return format;
}

} // namespace

TextWindow::TextWindow(Shell& shell, RandomSource& random, QWidget* parent)
    : QTextEdit(parent), shell(shell), random(random), end(document()) {
    setObjectName(QStringLiteral("TD"));
    setReadOnly(true);
    setUndoRedoEnabled(false); // the text only grows and is trimmed: an undo history would only cost memory
    setAcceptRichText(false);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setStyleSheet(StyleSheet());
    document()->setDocumentMargin(8);
    setFont(QFont(QStringLiteral("DejaVu Sans"), TextSize)); // the text edit hands it on to its document
    viewport()->setMouseTracking(true);
    state.Style.Size = TextSize;
    // The newest line stays in view: whenever the text grows, scroll to its end.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this](int, int maximum) { verticalScrollBar()->setValue(maximum); });
}

void TextWindow::PrintLine(const std::string& line) {
    if (!TextPaused) {
        RenderLine(line);
        return;
    }
    if (PausedLines.size() >= kMaxPausedLines) {
        ++DroppedWhilePaused;
        return;
    }
    // One byte past the markup's bound keeps the line marked as cut when it is shown.
    PausedLines.emplace_back(line.substr(0, kMaxMarkupLineBytes + 1));
}

void TextWindow::PrintSystemLine(const std::string& text) {
    PrintLine("{00c000{" + text);
}

void TextWindow::RenderLine(const std::string& line) {
    Trim();
    if (TextSize != sizeInEffect) { // a new text size applies from the next line on
        sizeInEffect = TextSize;
        state.Style.Size = TextSize;
    }
    const std::vector<DrawOp> ops = MarkupOps(line, state, TextSize, random);
    Draw(ops);
    if (LineDrawn) LineDrawn(ops);
}

void TextWindow::ClearText() {
    document()->clear();
}

void TextWindow::Pause() {
    TextPaused = true;
    state.Style.Colour = kSystemTextColour;
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    Insert(QStringLiteral("Text paused."), state.Style);
    end.insertBlock(QTextBlockFormat(), FormatOf(state.Style));
    end.endEditBlock();
}

void TextWindow::Resume() {
    TextPaused = false;
    PrintSystemLine("Text resumed.");
    std::deque<std::string> held;
    held.swap(PausedLines);
    for (const std::string& line : held)
        RenderLine(line);
    if (DroppedWhilePaused > 0) {
        const std::size_t dropped = std::exchange(DroppedWhilePaused, 0);
        PrintSystemLine(std::to_string(dropped) + (dropped == 1 ? " line was" : " lines were") +
                        " dropped while the text was paused: the pause holds " +
                        std::to_string(kMaxPausedLines) + " lines.");
    }
}

std::string TextWindow::LinkAt(int caretPosition) const {
    const QTextDocument* doc = document();
    const int caret = std::min(caretPosition, doc->characterCount() - 1);
    if (caret <= 0) return {};
    // Line breaks end a word and start one, so the caret's own line decides; the line break before it is
    // kept, so that a caret at the start of a line still counts as past the start of the text.
    const QTextBlock block = doc->findBlock(caret);
    if (!block.isValid()) return {};
    const bool first = block.position() == 0;
    std::string line = first ? std::string() : std::string(1, '\n');
    line += ToWire(block.text());
    return gr::LinkAt(line, std::size_t(caret - block.position() + (first ? 0 : 1)));
}

void TextWindow::mouseMoveEvent(QMouseEvent* event) {
    QTextEdit::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton) return;
    const bool onLink = !LinkAt(cursorForPosition(event->position().toPoint()).position()).empty();
    viewport()->setCursor(onLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void TextWindow::mouseReleaseEvent(QMouseEvent* event) {
    QTextEdit::mouseReleaseEvent(event);
    // A drag that selected text (to copy it) is not a click on a link.
    if (event->button() != Qt::LeftButton || textCursor().hasSelection()) return;
    const std::string address = LinkAt(cursorForPosition(event->position().toPoint()).position());
    if (!address.empty()) shell.OpenUrl(FromWire(address));
}

void TextWindow::Trim() {
    // characterCount counts the paragraph separator that ends the document as well.
    if (document()->characterCount() - 1 <= TextBufferSize) return;
    // The whole text is replaced at once; the kept part loses its colours and sizes.
    QString kept = document()->toRawText().right(kKeptAfterTrim);
    kept.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    document()->clear();
    state.Style.Colour = kTrimmedTextColour;
    state.Style.Size = TextSize;
    TextStyle keptStyle = state.Style;
    keptStyle.Italic = keptStyle.Underline = false;
    end.movePosition(QTextCursor::End);
    Insert(kept, keptStyle);
}

void TextWindow::Draw(const std::vector<DrawOp>& ops) {
    end.movePosition(QTextCursor::End);
    end.beginEditBlock(); // one layout pass for the whole line
    for (const DrawOp& op : ops) {
        if (op.What == DrawOp::Kind::Text)
            Insert(FromWire(op.Text), op.Style);
        else if (op.What == DrawOp::Kind::LineBreak)
            end.insertBlock(QTextBlockFormat(), FormatOf(op.Style));
    }
    end.endEditBlock();
}

void TextWindow::Insert(const QString& text, const TextStyle& style) {
    end.insertText(text, FormatOf(style));
}

} // namespace gr
