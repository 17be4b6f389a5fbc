// The sound controls on the piano panel: the piano's program and its velocity, each stepped down
// and up by a pair of arrow buttons that repeat while held.
#pragma once

#include "settings/SettingRecord.h"

#include <QWidget>

class QLabel;
class QToolButton;

namespace kalvintor::ui {

class PianoSoundControls final : public QWidget {
    Q_OBJECT
public:
    explicit PianoSoundControls(QWidget* parent = nullptr);

    // Shows the program name and "Velocity = n" of a voice.
    void showVoice(const settings::TSoundRec& voice);
    QString programText() const;
    QString velocityText() const;

signals:
    // Steps asked for: -1 or +1 of the program, or of the velocity.
    void programStepped(int steps);
    void velocityStepped(int steps);

private:
    QToolButton* arrow(Qt::ArrowType direction, const char* objectName, int textId, const char* designTime);

    QLabel* program_;
    QLabel* velocity_;
    settings::TSoundRec voice_;
};

}  // namespace kalvintor::ui
