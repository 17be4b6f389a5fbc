// Level names, the process owner's login name and the user windows' message boxes.
#include "users/UserTexts.h"

#include "app/Texts.h"

#include <QMessageBox>

#include <pwd.h>
#include <unistd.h>

namespace kalvintor::ui {

QString levelName(int level) {
    switch (level) {
        case 1:
            return text(4132, "Student");
        case 2:
            return text(4134, "Teacher");
        case 3:
            return text(4135, "Administrator");
        default:
            return text(4130, "Guest");
    }
}

QString systemUserName() {
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr)
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}

QString formatted(int id, const char* english, const std::vector<language::FormatArgument>& arguments) {
    return QString::fromStdString(language::FormatText(text(id, english).toStdString(), arguments));
}

void informUser(QWidget* parent, const QString& message) {
    QMessageBox::information(parent, text(5007, "Information"), message);
}

bool askUser(QWidget* parent, const QString& question) {
    return QMessageBox::question(parent, text(5008, "Confirm"), question,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace kalvintor::ui
