// The remote-control key fields of the program settings.
#include "ControlKeyBox.h"

#include "settings/GeneralMidi.h"

#include <QKeyEvent>

namespace kalvintor::ui {

ControlKeyBox::ControlKeyBox(QWidget* parent) : QSpinBox(parent) {
    setRange(0, 127);
}

QString ControlKeyBox::textFromValue(int value) const {
    return QString::fromStdString(settings::ControlKeyName(value));
}

int ControlKeyBox::valueFromText(const QString& text) const {
    for (int note = 0; note <= 127; ++note)
        if (textFromValue(note).compare(text.trimmed(), Qt::CaseInsensitive) == 0) return note;
    return value();
}

QValidator::State ControlKeyBox::validate(QString& input, int&) const {
    for (int note = 0; note <= 127; ++note) {
        const QString name = textFromValue(note);
        if (name.compare(input.trimmed(), Qt::CaseInsensitive) == 0) return QValidator::Acceptable;
        if (name.startsWith(input.trimmed(), Qt::CaseInsensitive)) return QValidator::Intermediate;
    }
    return QValidator::Invalid;
}

void ControlKeyBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            stepBy(-1);
            return;
        case Qt::Key_Right:
        case Qt::Key_Up:
            stepBy(1);
            return;
        default:
            QSpinBox::keyPressEvent(event);
    }
}

}  // namespace kalvintor::ui
