// Helpers the user windows share: the level names, the login name of the process owner, and
// message boxes with the program's captions.
#pragma once

#include "language/Format.h"

#include <QString>

#include <vector>

class QWidget;

namespace kalvintor::ui {

// Level 0 guest, 1 Student, 2 Teacher, 3 Administrator, from the language file.
QString levelName(int level);
// The login name of the process owner; empty when it cannot be found.
QString systemUserName();
// A language format text with its "%s" and "%d" placeholders filled.
QString formatted(int id, const char* english, const std::vector<language::FormatArgument>& arguments);
// A message box with caption 5007 ("Information").
void informUser(QWidget* parent, const QString& message);
// A Yes/No question with caption 5008 ("Confirm"); true on Yes.
bool askUser(QWidget* parent, const QString& question);

}  // namespace kalvintor::ui
