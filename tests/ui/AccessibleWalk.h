// Windows as a screen reader or a GUI test tool finds them: a walk over the accessibility tree
// below a widget, lookup by role and name, and the actions they offer. Any window's test can use
// it; nothing here reaches into a widget except through QAccessible.
#pragma once

#include <QAccessible>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace kalvintor::ui::testing {

// Roles a user acts on: every such object must have a name.
inline bool isInteractive(QAccessible::Role role) {
    switch (role) {
        case QAccessible::Button:
        case QAccessible::CheckBox:
        case QAccessible::RadioButton:
        case QAccessible::ComboBox:
        case QAccessible::EditableText:
        case QAccessible::Slider:
        case QAccessible::SpinBox:
        case QAccessible::ScrollBar:
        case QAccessible::ProgressBar:
        case QAccessible::List:
        case QAccessible::ListItem:
        case QAccessible::PageTab:
        case QAccessible::MenuItem:
        case QAccessible::ButtonMenu:
        case QAccessible::ButtonDropDown:
        case QAccessible::Dial:
        case QAccessible::Table:
        case QAccessible::Tree:
            return true;
        default:
            return false;
    }
}

// Every interface below `root` (root included), depth first, skipping what is not shown.
inline std::vector<QAccessibleInterface*> accessibleWalk(QWidget* root) {
    std::vector<QAccessibleInterface*> found;
    const std::function<void(QAccessibleInterface*, int)> visit = [&](QAccessibleInterface* node, int depth) {
        if (node == nullptr || !node->isValid() || node->state().invisible || depth > 64) return;
        found.push_back(node);
        for (int i = 0; i < node->childCount(); ++i) visit(node->child(i), depth + 1);
    };
    visit(QAccessible::queryAccessibleInterface(root), 0);
    return found;
}

// How an interface is shown in a failure message: role, name and object name.
inline QString describe(QAccessibleInterface* node) {
    const QObject* object = node->object();
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::number(node->role(), 16), node->text(QAccessible::Name),
             object
                 ? object->objectName() + QLatin1Char(':') + QLatin1String(object->metaObject()->className())
                 : QStringLiteral("no object"));
}

// The interactive objects below `root` that have no name, described one after the other; empty
// when every one has a name.
inline std::string unnamedControls(QWidget* root) {
    QStringList unnamed;
    for (QAccessibleInterface* node : accessibleWalk(root))
        if (isInteractive(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << describe(node);
    return unnamed.join(QStringLiteral("; ")).toStdString();
}

// The first shown interface below `root` with this role and name, or null.
inline QAccessibleInterface* findAccessible(QWidget* root, QAccessible::Role role, const QString& name) {
    for (QAccessibleInterface* node : accessibleWalk(root))
        if (node->role() == role && node->text(QAccessible::Name) == name) return node;
    return nullptr;
}

// Runs an action the interface offers; false when it does not offer it.
inline bool doAccessibleAction(QAccessibleInterface* node, const QString& action) {
    QAccessibleActionInterface* actions = node ? node->actionInterface() : nullptr;
    if (actions == nullptr || !actions->actionNames().contains(action)) return false;
    actions->doAction(action);
    return true;
}

inline bool press(QAccessibleInterface* node) {
    return doAccessibleAction(node, QAccessibleActionInterface::pressAction());
}

}  // namespace kalvintor::ui::testing
