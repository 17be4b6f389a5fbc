// The chord-type editor's keyboard: F (53) to C (84); a left click enters the key's note, a right
// click takes it out, the key held down is shown red with its name.
#pragma once

#include "theory/ChordCatalogue.h"

#include <QWidget>

#include <functional>

namespace kalvintor::ui {

class EditKeyboard final : public QWidget {
    Q_OBJECT
public:
    explicit EditKeyboard(QWidget* parent = nullptr);

    void setEntry(const theory::CatalogueEntry* entry) {
        entry_ = entry;
        update();
    }
    // The key under a point (0 when none) and a key's centre.
    int pitchAt(QPoint p) const;
    QPoint keyCentre(int pitch) const;
    QSize sizeHint() const override;

    std::function<void(int pitch, bool remove)> noteChosen;
    std::function<void(int pitch)> notePressed;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    const theory::CatalogueEntry* entry_ = nullptr;
    int held_ = 0;
    int cursorPitch_ = 60;  // the key the keyboard's arrows move over
};

}  // namespace kalvintor::ui
