#pragma once
// A window's accessibility tree as a screen reader walks it: which objects it holds, and which visible
// controls a player uses have no name of their own.
#include <QAccessible>
#include <QAccessibleInterface>
#include <QDebug>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <set>

namespace gr::test {

struct AccessibleTree {
    std::set<const QObject*> Objects;     // every object in the tree
    QStringList Unnamed;                  // visible controls without a name
    QStringList Shared;                   // names that more than one visible control carries
    QMap<QString, const QObject*> ByName; // visible controls by name
};

inline bool IsControl(QAccessibleInterface* i) {
    switch (i->role()) {
    case QAccessible::PushButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ScrollBar:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::Link:
    case QAccessible::MenuItem:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return i->state().focusable;
    }
}

// The name a control is read out by. Combo boxes on this platform carry their current entry as name and
// their label through the "labelled by" relation (the sibling label whose buddy they are).
inline QString ControlName(QAccessibleInterface* i) {
    if (i->role() == QAccessible::ComboBox) {
        for (const auto& [label, relation] : i->relations(QAccessible::Label)) {
            if (label && label->object() && label->object()->inherits("QLabel")) {
                QString text = label->text(QAccessible::Name).trimmed();
                if (text.endsWith(QLatin1Char(':'))) text.chop(1);
                return text;
            }
        }
        return QString();
    }
    return i->text(QAccessible::Name).trimmed();
}

// Whatever lies under a hidden part (a closed menu, a combo box's list) is not presented, but still counts
// as being in the tree.
inline void WalkAccessible(QAccessibleInterface* i, AccessibleTree& tree, bool shown = true, int depth = 0) {
    if (!i || !i->isValid() || depth > 50) return;
    if (i->object()) tree.Objects.insert(i->object());
    shown = shown && !i->state().invisible;
    // GLOAMREST_DUMP_A11Y=1 prints the tree while a test walks it.
    if (qEnvironmentVariableIsSet("GLOAMREST_DUMP_A11Y"))
        qDebug().noquote() << QString(depth * 2, QLatin1Char(' ')) << i->role() << ControlName(i)
                           << (i->object() ? i->object()->metaObject()->className() : "") << "shown" << shown;
    if (shown && IsControl(i)) {
        const QString name = ControlName(i);
        const QString what =
            (i->object() ? QString::fromLatin1(i->object()->metaObject()->className()) : QString()) +
            QStringLiteral(" role ") + QString::number(int(i->role()));
        if (name.isEmpty())
            tree.Unnamed << what;
        else if (tree.ByName.contains(name))
            tree.Shared << name;
        else
            tree.ByName.insert(name, i->object());
    }
    for (int c = 0; c < i->childCount(); ++c)
        WalkAccessible(i->child(c), tree, shown, depth + 1);
}

inline AccessibleTree Accessible(QObject* window) {
    AccessibleTree tree;
    WalkAccessible(QAccessible::queryAccessibleInterface(window), tree);
    return tree;
}

} // namespace gr::test
