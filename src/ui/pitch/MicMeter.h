// The strip that shows what the microphone hears while singing answers: the level it hears, the
// note heard and whether it was taken, and what is wrong with the input when something is.
#pragma once

#include "sound/MicSession.h"

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace kalvintor::ui {

class MicMeter final : public QWidget {
    Q_OBJECT
public:
    using Source = std::function<sound::MicReading()>;
    // `source` gives the microphone's level and state; it is read while the strip is shown.
    explicit MicMeter(Source source, QWidget* parent = nullptr);
    // A detected pitch (35 or below: silence) and whether it is the steady one taken.
    void heard(int pitch, bool steady);
    QString heardText() const;
    // Reads the level and state now (the strip does so every 50 ms while shown).
    void readLevel();
    double levelDb() const { return reading_.levelDb; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showText();

    Source source_;
    sound::MicReading reading_;
    int pitch_ = 0;
    bool steady_ = false;
    QLabel* text_;
    QTimer* poll_;
};

}  // namespace kalvintor::ui
