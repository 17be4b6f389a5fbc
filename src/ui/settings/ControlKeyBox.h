// A field holding a MIDI note number that shows the note's name; the arrow keys step it.
#pragma once

#include <QSpinBox>

namespace kalvintor::ui {

class ControlKeyBox final : public QSpinBox {
    Q_OBJECT
public:
    explicit ControlKeyBox(QWidget* parent = nullptr);

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kalvintor::ui
