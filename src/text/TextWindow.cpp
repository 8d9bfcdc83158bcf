#include "text/TextWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QColor>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "core/WireText.h"
#include "text/TextAccess.h"
#include "platform/Shell.h"

namespace gr {

namespace {

constexpr int kMargin = 8; // around the text, in pixels

QColor ColourOf(std::uint32_t bgr) {
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

// The scroll bar's colours; the window's own come from the text markup's constants, where their contrast
// is checked.
QString ScrollBarStyle() {
    return QStringLiteral(
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

const QColor kSelectionBack(0x3d, 0x2f, 0x5c);
const QColor kSelectionText(0xf3, 0xe9, 0xd2);
const QColor kMatchBack(0x6b, 0x55, 0x10);   // every match: a dark amber under the text's own colour
const QColor kCurrentBack(0xf3, 0xd9, 0xa4); // the current match: light, with dark text
const QColor kCurrentText(0x10, 0x08, 0x1c);

} // namespace

TextWindow::TextWindow(Shell& shell, RandomSource& random, QWidget* parent)
    : QAbstractScrollArea(parent), shell(shell), random(random), doc(new QTextDocument(this)),
      frameTimer(new QTimer(this)) {
    InstallTextAccess();
    setObjectName(QStringLiteral("TD"));
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setStyleSheet(ScrollBarStyle());
    verticalScrollBar()->setSingleStep(1);
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    doc->setUndoRedoEnabled(false); // the text only grows and is trimmed: an undo history would only cost
    doc->setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), TextSize));
    state.Style.Size = TextSize;
    frameTimer->setSingleShot(true);
    frameTimer->setTimerType(Qt::PreciseTimer);
    connect(frameTimer, &QTimer::timeout, this, &TextWindow::Frame);
    sinceFrame.start();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (syncing) return;
        // The player moved the view: it follows the newest text again once it is back at the end.
        following = value >= verticalScrollBar()->maximum();
        if (following) newBelow = false;
    });
}

TextWindow::~TextWindow() = default;

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
    systemLine = true;
    PrintLine("{00c000{" + text);
    systemLine = false;
}

void TextWindow::RenderLine(const std::string& line) {
    Trim();
    if (TextSize != sizeInEffect) { // a new text size applies from the next line on
        sizeInEffect = TextSize;
        state.Style.Size = TextSize;
    }
    const std::vector<DrawOp> ops = MarkupOps(line, state, TextSize, random);
    const int before = doc->characterCount() - 1;
    Draw(ops);
    Announce(before, ops, systemLine);
    if (LineDrawn) LineDrawn(ops);
}

void TextWindow::ClearText() {
    doc->clear();
    selectionStart = selectionEnd = 0;
    anchor = -1;
    matchStart = -1;
    minimumBottom = -1;
    following = true;
    newBelow = false;
    Changed();
}

void TextWindow::Pause() {
    TextPaused = true;
    state.Style.Colour = kSystemTextColour;
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    end.insertText(QStringLiteral("Text paused."), FormatOf(state.Style));
    end.insertBlock(QTextBlockFormat(), FormatOf(state.Style));
    end.endEditBlock();
    Changed();
    if (LineDrawn)
        LineDrawn(
            {{DrawOp::Kind::Text, "Text paused.", state.Style}, {DrawOp::Kind::LineBreak, {}, state.Style}});
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

QString TextWindow::toPlainText() const {
    return doc->toPlainText();
}

QString TextWindow::toHtml() const {
    return doc->toHtml();
}

QString TextWindow::SelectedText() const {
    if (!HasSelection()) return {};
    QTextCursor c(doc);
    c.setPosition(std::min(SelectionFrom(), doc->characterCount() - 1));
    c.setPosition(std::min(SelectionTo(), doc->characterCount() - 1), QTextCursor::KeepAnchor);
    QString text = c.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void TextWindow::SelectAll() {
    selectionStart = 0;
    selectionEnd = doc->characterCount() - 1;
    viewport()->update();
}

void TextWindow::CopySelection() const {
    if (HasSelection()) QApplication::clipboard()->setText(SelectedText());
}

// The view.

int TextWindow::TextWidth() const {
    return std::max(1, viewport()->width() - 2 * kMargin);
}

int TextWindow::LayOutBlock(int number) const {
    const QTextBlock block = doc->findBlockByNumber(number);
    if (!block.isValid()) return 0;
    QTextLayout* layout = block.layout();
    QTextOption option = layout->textOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    const qreal width = TextWidth();
    layout->beginLayout();
    qreal height = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout->endLayout();
    return int(std::ceil(height));
}

int TextWindow::MinimumBottom() const {
    // The first line that, at the bottom of the view, has the view full: scrolling further up would only
    // show the top of the text with space beneath it.
    if (minimumBottom >= 0) return minimumBottom;
    const int room = viewport()->height() - 2 * kMargin;
    int height = 0, number = 0;
    const int count = doc->blockCount();
    for (; number < count; ++number) {
        height += LayOutBlock(number);
        if (height >= room) break;
    }
    minimumBottom = std::min(number, count - 1);
    return minimumBottom;
}

void TextWindow::LayOut() const {
    if (!layoutDirty) return;
    layoutDirty = false;
    shown.clear();
    const int count = doc->blockCount();
    const int bottom = std::clamp(verticalScrollBar()->value(), 0, count - 1);
    int y = viewport()->height() - kMargin;
    for (int number = bottom; number >= 0 && y > 0; --number) {
        const int height = LayOutBlock(number);
        y -= height;
        shown.push_back({number, y, height});
    }
    std::reverse(shown.begin(), shown.end());
    // Text shorter than the view stands at its top.
    if (!shown.empty() && shown.front().Block == 0 && shown.front().Top > kMargin) {
        const int shift = shown.front().Top - kMargin;
        for (Shown& s : shown)
            s.Top -= shift;
    }
}

std::vector<QTextLayout::FormatRange> TextWindow::Highlights(int number) const {
    std::vector<QTextLayout::FormatRange> ranges;
    const QTextBlock block = doc->findBlockByNumber(number);
    const int start = block.position(), length = block.length() - 1;
    if (!searchTerm.isEmpty()) {
        const QString text = block.text();
        const Qt::CaseSensitivity cs = searchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
        for (qsizetype at = text.indexOf(searchTerm, 0, cs); at >= 0;
             at = text.indexOf(searchTerm, at + searchTerm.size(), cs)) {
            QTextLayout::FormatRange range;
            range.start = int(at);
            range.length = int(searchTerm.size());
            if (start + int(at) == matchStart) {
                range.format.setBackground(kCurrentBack);
                range.format.setForeground(kCurrentText);
            } else {
                range.format.setBackground(kMatchBack);
            }
            ranges.push_back(range);
        }
    }
    if (HasSelection()) {
        const int from = std::max(std::min(selectionStart, selectionEnd) - start, 0);
        const int to = std::min(std::max(selectionStart, selectionEnd) - start, length);
        if (from < to) {
            QTextLayout::FormatRange range;
            range.start = from;
            range.length = to - from;
            range.format.setBackground(kSelectionBack);
            range.format.setForeground(kSelectionText);
            ranges.push_back(range);
        }
    }
    return ranges;
}

void TextWindow::paintEvent(QPaintEvent*) {
    sinceFrame.restart();
    if (scrollDirty) SyncScroll();
    LayOut();
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), ColourOf(kTextBackgroundColour));
    for (const Shown& s : shown) {
        const QTextBlock block = doc->findBlockByNumber(s.Block);
        const std::vector<QTextLayout::FormatRange> ranges = Highlights(s.Block);
        block.layout()->draw(&p, QPointF(kMargin, s.Top),
                             QList<QTextLayout::FormatRange>(ranges.begin(), ranges.end()));
    }
    if (newBelow && !AtBottom()) {
        // The mark of new text below: a band at the foot of the view.
        const QString mark = QStringLiteral("\u25BC New text below: End to read it");
        QFont f = font();
        f.setBold(true);
        p.setFont(f);
        const int height = p.fontMetrics().height() + 6;
        const QRect band(0, viewport()->height() - height, viewport()->width(), height);
        p.fillRect(band, kCurrentBack);
        p.setPen(kCurrentText);
        p.drawText(band, Qt::AlignCenter, mark);
    }
}

void TextWindow::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    minimumBottom = -1;
    layoutDirty = true;
    // The bar showing or hiding while the range is set resizes the view: the next frame sets it again.
    if (syncing)
        Changed();
    else
        SyncScroll();
}

void TextWindow::scrollContentsBy(int, int) {
    layoutDirty = true;
    viewport()->update();
}

void TextWindow::Changed() {
    scrollDirty = true;
    layoutDirty = true;
    if (frameTimer->isActive()) return;
    // At most one frame every kFrameMs: lines that arrive meanwhile are shown together.
    frameTimer->start(int(std::max<qint64>(0, kFrameMs - sinceFrame.elapsed())));
}

void TextWindow::Frame() {
    SyncScroll();
    viewport()->update();
}

void TextWindow::SyncScroll() {
    scrollDirty = false;
    QScrollBar* bar = verticalScrollBar();
    // The bar's signals stay on, so that the view shows or hides it; only the reading place is kept.
    syncing = true;
    const int last = std::max(0, doc->blockCount() - 1);
    const int minimum = std::min(MinimumBottom(), last);
    const int value = following ? last : std::clamp(bar->value(), minimum, last);
    bar->setRange(minimum, last);
    bar->setPageStep(std::max(1, int(shown.size()) - 1));
    bar->setValue(value);
    syncing = false;
    layoutDirty = true;
}

bool TextWindow::AtBottom() const {
    return following || verticalScrollBar()->value() >= doc->blockCount() - 1;
}

void TextWindow::ScrollToBottom() {
    following = true;
    newBelow = false;
    SyncScroll();
    viewport()->update();
}

void TextWindow::ScrollPages(int pages) {
    if (scrollDirty) SyncScroll();
    LayOut();
    QScrollBar* bar = verticalScrollBar();
    const int page = std::max(1, int(shown.size()) - 1);
    bar->setValue(bar->value() + pages * page); // valueChanged decides whether the view follows again
    viewport()->update();
}

void TextWindow::ShowPosition(int position) {
    const QTextBlock block = doc->findBlock(position);
    if (!block.isValid()) return;
    if (scrollDirty) SyncScroll();
    LayOut();
    const bool inView = std::any_of(shown.begin(), shown.end(), [&](const Shown& s) {
        return s.Block == block.blockNumber() && s.Top >= 0 && s.Top + s.Height <= viewport()->height();
    });
    if (!inView) verticalScrollBar()->setValue(std::max(block.blockNumber(), verticalScrollBar()->minimum()));
    layoutDirty = true;
    viewport()->update();
}

QRect TextWindow::PositionRect(int position) const {
    LayOut();
    const QTextBlock block = doc->findBlock(position);
    for (const Shown& s : shown) {
        if (s.Block != block.blockNumber()) continue;
        const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
        if (!line.isValid()) return {};
        const qreal x = line.cursorToX(position - block.position());
        return QRect(int(kMargin + x), int(s.Top + line.y()), 1, int(line.height()));
    }
    return {};
}

int TextWindow::PositionAt(QPoint point) const {
    LayOut();
    for (const Shown& s : shown) {
        if (point.y() < s.Top || point.y() >= s.Top + s.Height) continue;
        const QTextBlock block = doc->findBlockByNumber(s.Block);
        const QTextLayout* layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            if (point.y() - s.Top < line.y() + line.height() || i == layout->lineCount() - 1)
                return block.position() + line.xToCursor(point.x() - kMargin);
        }
    }
    return -1;
}

// Selecting, links and keys.

void TextWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const int at = PositionAt(event->position().toPoint());
    anchor = at;
    selectionStart = selectionEnd = std::max(at, 0);
    viewport()->update();
}

void TextWindow::mouseMoveEvent(QMouseEvent* event) {
    const int at = PositionAt(event->position().toPoint());
    if ((event->buttons() & Qt::LeftButton) && anchor >= 0) {
        if (at >= 0) {
            selectionStart = anchor;
            selectionEnd = at;
            viewport()->update();
        }
        return;
    }
    const bool onLink = at >= 0 && !LinkAt(at).empty();
    viewport()->setCursor(onLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

void TextWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    anchor = -1;
    if (HasSelection()) {
        // A drag that selected text (to copy it) is not a click on a link; the selection is offered to
        // the system's selection clipboard, as text views do.
        if (QApplication::clipboard()->supportsSelection())
            QApplication::clipboard()->setText(SelectedText(), QClipboard::Selection);
        return;
    }
    const int at = PositionAt(event->position().toPoint());
    if (at < 0) return;
    const std::string address = LinkAt(at);
    if (!address.empty()) shell.OpenUrl(FromWire(address));
}

void TextWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click selects the word under it.
    const int at = PositionAt(event->position().toPoint());
    if (at < 0) return;
    const QTextBlock block = doc->findBlock(at);
    const QString text = block.text();
    const auto inWord = [&](qsizetype i) {
        return text.at(i).isLetterOrNumber() || text.at(i) == QLatin1Char('_');
    };
    qsizetype start = at - block.position(), end = start;
    while (start > 0 && inWord(start - 1))
        --start;
    while (end < text.size() && inWord(end))
        ++end;
    if (start >= end) return;
    selectionStart = block.position() + int(start);
    selectionEnd = block.position() + int(end);
    anchor = -1;
    viewport()->update();
}

void TextWindow::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
    } else if (event->matches(QKeySequence::SelectAll)) {
        SelectAll();
    } else if (event->key() == Qt::Key_PageUp) {
        ScrollPages(-1);
    } else if (event->key() == Qt::Key_PageDown) {
        ScrollPages(1);
    } else if (event->key() == Qt::Key_End || event->matches(QKeySequence::MoveToEndOfDocument)) {
        ScrollToBottom();
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        verticalScrollBar()->setValue(verticalScrollBar()->minimum());
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TextWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copy = menu.addAction(QStringLiteral("&Copy"), this, &TextWindow::CopySelection);
    copy->setEnabled(HasSelection());
    menu.addAction(QStringLiteral("Select &All"), this, &TextWindow::SelectAll);
    menu.exec(event->globalPos());
}

// Finding.

void TextWindow::SetSearch(const QString& term, bool matchCase) {
    searchTerm = term;
    searchCase = matchCase;
    matchStart = -1;
    matchLength = 0;
    viewport()->update();
}

bool TextWindow::FindNext(bool backwards) {
    if (searchTerm.isEmpty()) return false;
    QTextDocument::FindFlags flags;
    if (searchCase) flags |= QTextDocument::FindCaseSensitively;
    if (backwards) flags |= QTextDocument::FindBackward;
    // From the current match on; the first search starts at the newest text and goes back.
    const int end = doc->characterCount() - 1;
    int from = matchStart >= 0 ? (backwards ? matchStart : matchStart + matchLength) : (backwards ? end : 0);
    if (matchStart < 0 && !backwards) from = 0;
    QTextCursor found = doc->find(searchTerm, from, flags);
    if (found.isNull()) // round the end
        found = doc->find(searchTerm, backwards ? end : 0, flags);
    if (found.isNull()) {
        matchStart = -1;
        viewport()->update();
        return false;
    }
    matchStart = found.selectionStart();
    matchLength = found.selectionEnd() - found.selectionStart();
    ShowPosition(matchStart);
    return true;
}

// Drawing lines into the document.

void TextWindow::Trim() {
    // characterCount counts the paragraph separator that ends the document as well.
    if (doc->characterCount() - 1 <= TextBufferSize) return;
    // The whole text is replaced at once; the kept part loses its colours and sizes.
    QString kept = doc->toRawText().right(kKeptAfterTrim);
    kept.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    doc->clear();
    selectionStart = selectionEnd = 0;
    anchor = -1;
    matchStart = -1;
    minimumBottom = -1;
    following = true; // what the player read back to is gone
    newBelow = false;
    state.Style.Colour = kTrimmedTextColour;
    state.Style.Size = TextSize;
    TextStyle keptStyle = state.Style;
    keptStyle.Italic = keptStyle.Underline = false;
    Insert(kept, keptStyle);
}

void TextWindow::Draw(const std::vector<DrawOp>& ops) {
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    for (const DrawOp& op : ops) {
        if (op.What == DrawOp::Kind::Text)
            end.insertText(FromWire(op.Text), FormatOf(op.Style));
        else if (op.What == DrawOp::Kind::LineBreak)
            end.insertBlock(QTextBlockFormat(), FormatOf(op.Style));
    }
    end.endEditBlock();
    if (!following) newBelow = true;
    if (minimumBottom >= 0 && minimumBottom >= doc->blockCount() - 2) minimumBottom = -1;
    Changed();
}

void TextWindow::Insert(const QString& text, const TextStyle& style) {
    QTextCursor end(doc);
    end.movePosition(QTextCursor::End);
    end.insertText(text, FormatOf(style));
    Changed();
}

void TextWindow::Announce(int position, const std::vector<DrawOp>& ops, bool ownLine) {
    if (!QAccessible::isActive()) return; // no reader listens
    const QString text = AnnouncedText(ops, ownLine, AnnounceChatOnly);
    if (text.isEmpty()) return;
    QAccessibleTextInsertEvent inserted(this, position, text);
    QAccessible::updateAccessibility(&inserted);
}

QString AnnouncedText(const std::vector<DrawOp>& ops, bool ownLine, bool chatOnly) {
    QString text;
    for (const DrawOp& op : ops) {
        if (op.What == DrawOp::Kind::Text)
            text += FromWire(op.Text);
        else if (op.What == DrawOp::Kind::LineBreak)
            text += QLatin1Char('\n');
    }
    if (chatOnly && !ownLine && !IsChatLine(ToWire(text))) return {};
    return text;
}

} // namespace gr
