// Language texts on the Qt side: reading a text by id, and binding a window's captions to ids so
// that every language load reaches them.
#pragma once

#include "language/Language.h"

#include <QString>

#include <functional>

class QObject;
class QWidget;

namespace kalvintor::ui {

// The loaded text of `id`, or the design-time English text.
QString text(int id, const char* designTime);

// Registers `setter` for text `id` for as long as `owner` lives. The setter gets the decorated
// text of every load that applies to its group, and the loaded text at once when there is one.
void bindText(QObject* owner, int id, std::function<void(const QString&)> setter,
              language::Decoration decoration = language::Decoration::None,
              language::TextGroup group = language::TextGroup::Full);

// Binds the text of a widget or action that has setText (buttons, labels, actions, menus' titles).
template <typename T>
void bindCaption(T* target, int id, language::Decoration decoration = language::Decoration::None,
                 language::TextGroup group = language::TextGroup::Full) {
    bindText(target, id, [target](const QString& t) { target->setText(t); }, decoration, group);
}

// Runs `before` before every full language load and `after` after every load, for as long as
// `owner` lives. Either may be empty.
void observeLanguage(QObject* owner, std::function<void()> before, std::function<void()> after);

void bindWindowTitle(QWidget* window, int id, language::TextGroup group = language::TextGroup::Full);
void bindToolTip(QWidget* widget, int id, language::TextGroup group = language::TextGroup::Full);

// Reads a language file and distributes its texts (`LoadLanguage`). When the file cannot be
// opened, shows the error box with texts 5010 and 5005 and returns false; nothing else changes.
// After a load the help file of the language is chosen again.
bool LoadLanguage(const QString& fileName, unsigned mode, QWidget* parent);

// The language file of a language name in the program's language directory.
QString languageFileName(const QString& language);

}  // namespace kalvintor::ui
