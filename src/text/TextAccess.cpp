#include "text/TextAccess.h"

#include <QAccessibleWidget>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "text/TextWindow.h"

namespace gr {

namespace {

class TextWindowAccess : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit TextWindowAccess(TextWindow* window) : QAccessibleWidget(window, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Window()->toPlainText();
        return QAccessibleWidget::text(t);
    }

    // Selection.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        const TextWindow* w = Window();
        if (selectionIndex != 0 || !w->HasSelection()) return;
        *startOffset = w->SelectionFrom();
        *endOffset = w->SelectionTo();
    }
    int selectionCount() const override { return Window()->HasSelection() ? 1 : 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}

    // The caret stands after the newest text.
    int cursorPosition() const override { return characterCount(); }
    void setCursorPosition(int) override {}

    QString text(int startOffset, int endOffset) const override {
        return All().mid(startOffset, std::max(0, endOffset - startOffset));
    }
    int characterCount() const override { return Window()->document()->characterCount() - 1; }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                         int* end) const override {
        const QString all = All();
        offset = std::clamp(offset, 0, int(all.size()));
        Bounds(all, offset, type, start, end);
        return all.mid(*start, *end - *start);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                             int* end) const override {
        const QString all = All();
        int s = 0, e = 0;
        Bounds(all, std::clamp(offset, 0, int(all.size())), type, &s, &e);
        if (s <= 0) {
            *start = *end = 0;
            return {};
        }
        Bounds(all, s - 1, type, start, end);
        return all.mid(*start, *end - *start);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                            int* end) const override {
        const QString all = All();
        int s = 0, e = 0;
        Bounds(all, std::clamp(offset, 0, int(all.size())), type, &s, &e);
        if (e >= all.size()) {
            *start = *end = int(all.size());
            return {};
        }
        Bounds(all, e, type, start, end);
        return all.mid(*start, *end - *start);
    }

    QRect characterRect(int offset) const override {
        const QRect r = Window()->PositionRect(offset);
        if (r.isNull()) return {};
        return QRect(Window()->viewport()->mapToGlobal(r.topLeft()),
                     QSize(std::max(1, r.height() / 2), r.height()));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Window()->PositionAt(Window()->viewport()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int) override { Window()->ShowPosition(startIndex); }
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = std::max(offset, characterCount());
        return {};
    }

  private:
    TextWindow* Window() const { return static_cast<TextWindow*>(widget()); }
    QString All() const { return Window()->toPlainText(); }

    static void Bounds(const QString& all, int offset, QAccessible::TextBoundaryType type, int* start,
                       int* end) {
        const int size = int(all.size());
        switch (type) {
        case QAccessible::CharBoundary:
            *start = std::min(offset, size);
            *end = std::min(offset + 1, size);
            return;
        case QAccessible::LineBoundary:
        case QAccessible::ParagraphBoundary: {
            const qsizetype before = offset > 0 ? all.lastIndexOf(QLatin1Char('\n'), offset - 1) : -1;
            const qsizetype after = all.indexOf(QLatin1Char('\n'), offset);
            *start = int(before + 1);
            *end = after < 0 ? size : int(after + 1);
            return;
        }
        case QAccessible::NoBoundary:
            *start = 0;
            *end = size;
            return;
        case QAccessible::WordBoundary:
        case QAccessible::SentenceBoundary: {
            QTextBoundaryFinder finder(type == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                         : QTextBoundaryFinder::Sentence,
                                       all);
            finder.setPosition(std::min(offset, size));
            const qsizetype s = finder.isAtBoundary() ? finder.position() : finder.toPreviousBoundary();
            finder.setPosition(std::min(offset, size));
            const qsizetype e = finder.toNextBoundary();
            *start = int(std::max<qsizetype>(s, 0));
            *end = int(e < 0 ? size : e);
            return;
        }
        }
        *start = *end = offset;
    }
};

QAccessibleInterface* TextAccessFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("gr::TextWindow") && object && object->isWidgetType())
        return new TextWindowAccess(static_cast<TextWindow*>(object));
    return nullptr;
}

} // namespace

void InstallTextAccess() {
    static const bool installed = [] {
        QAccessible::installFactory(TextAccessFactory);
        return true;
    }();
    (void)installed;
}

} // namespace gr
