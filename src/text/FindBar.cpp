#include "text/FindBar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "text/TextWindow.h"

namespace gr {

FindBar::FindBar(TextWindow& text_, QWidget* parent) : QFrame(parent), text(text_) {
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(QStringLiteral("Find in game text"));
    setStyleSheet(QStringLiteral(
        "#FindBar { background: #231a36; border: 1px solid #8c7aa8; border-radius: 5px; }"
        "QLabel, QCheckBox { color: #f3e9d2; }"
        "QPushButton { background: #3a2d5c; color: #f3e9d2; border: 1px solid #8c7aa8; border-radius: 4px;"
        " padding: 2px 8px; } QPushButton:focus { border: 2px solid #f3d9a4; }"));
    Term = new QLineEdit(this);
    Term->setPlaceholderText(QStringLiteral("Find in the game text"));
    Term->setAccessibleName(QStringLiteral("Find"));
    Term->setClearButtonEnabled(true);
    Older = new QPushButton(QStringLiteral("&Previous"), this);
    Older->setAccessibleName(QStringLiteral("Previous match"));
    Older->setToolTip(QStringLiteral("The match before this one, in older text (Enter)"));
    Newer = new QPushButton(QStringLiteral("&Next"), this);
    Newer->setAccessibleName(QStringLiteral("Next match"));
    Newer->setToolTip(QStringLiteral("The match after this one, in newer text (Shift+Enter)"));
    MatchCase = new QCheckBox(QStringLiteral("&Match case"), this);
    MatchCase->setAccessibleName(QStringLiteral("Match case"));
    Outcome = new QLabel(this);
    Outcome->setAccessibleName(QStringLiteral("Find outcome"));
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setAccessibleName(QStringLiteral("Close find bar"));
    CloseButton->setToolTip(QStringLiteral("Close (Escape)"));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(6);
    row->addWidget(Term, 1);
    row->addWidget(Older);
    row->addWidget(Newer);
    row->addWidget(MatchCase);
    row->addWidget(Outcome);
    row->addWidget(CloseButton);

    const auto highlight = [this] {
        text.SetSearch(Term->text(), MatchCase->isChecked());
        Outcome->clear();
    };
    connect(Term, &QLineEdit::textChanged, this, highlight);
    connect(MatchCase, &QCheckBox::toggled, this, highlight);
    Term->installEventFilter(this);
    connect(Older, &QPushButton::clicked, this, [this] { Find(true); });
    connect(Newer, &QPushButton::clicked, this, [this] { Find(false); });
    connect(CloseButton, &QPushButton::clicked, this, &FindBar::Close);
    hide();
}

void FindBar::Place() {
    const QRect area = text.geometry();
    const int width = std::min(area.width(), std::max(sizeHint().width(), 420));
    setGeometry(area.right() - width + 1, area.top(), width, sizeHint().height());
    raise();
}

void FindBar::Open() {
    Place();
    show();
    Term->setFocus(Qt::ShortcutFocusReason);
    Term->selectAll();
    text.SetSearch(Term->text(), MatchCase->isChecked());
}

void FindBar::Close() {
    hide();
    text.SetSearch(QString(), false);
    Outcome->clear();
    if (Closed) Closed();
}

void FindBar::Find(bool older) {
    if (Term->text().isEmpty()) return;
    const bool found = text.FindNext(older);
    Outcome->setText(found ? QString() : QStringLiteral("Not found"));
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Term && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Find(!(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ShiftModifier)) {
        Find(false);
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace gr
