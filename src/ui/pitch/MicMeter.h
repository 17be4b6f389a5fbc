// The strip that shows what the microphone hears while singing answers: the note heard, whether
// it is steady enough to be taken, and the notes taken so far.
#pragma once

#include <QWidget>

class QLabel;

namespace kalvintor::ui {

class MicMeter final : public QWidget {
    Q_OBJECT
public:
    explicit MicMeter(QWidget* parent = nullptr);
    // A detected pitch (35 or below: silence) and whether it is the steady one taken.
    void heard(int pitch, bool steady);
    QString heardText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int pitch_ = 0;
    bool steady_ = false;
    int level_ = 0;  // 0..8, rises with each detection of the same note, falls in silence
    QLabel* text_;
};

}  // namespace kalvintor::ui
