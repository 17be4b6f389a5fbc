// The strip of five large control buttons along an exercise window.
#pragma once

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

namespace kalvintor::ui {

class TControlButton final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kButtons = 5;
    static constexpr int kFaceWidth = 125;
    static constexpr int kFaceHeight = 38;
    static constexpr int kPitch = kFaceWidth + 3;

    explicit TControlButton(QWidget* parent = nullptr);

    std::array<QString, kButtons> Captions;
    std::array<bool, kButtons> ButtonEnabled{};
    int FocusIndex = -1;
    int PressedIndex = -1;
    int HoverIndex = -1;

    void setCaption(int index, const QString& caption);
    void setButtonEnabled(int index, bool enabled);
    void FocusButton(int index);
    void PressButton(int index);
    // A whole press of button `index`, as assistive technology gives it: pressed, then released.
    void Click(int index);

    // The button at a point of the control, or -1 (the hit rule of the faces, see the .cpp).
    int ControlButtonAt(int x, int y) const;

    // Run when a press ends (mouse up anywhere, Enter, F5-F9): the exercise's control-button action.
    std::function<void()> onButtonUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab move the focus mark over the enabled buttons before they leave the strip.
    bool focusNextPrevChild(bool next) override;

private:
    // The enabled button after (step 1) or before (step -1) `from`, or -1.
    int nextEnabled(int from, int step) const;
    void moveFocusMark(int index);
    void paintStrip(QPainter& painter) const;
    const QImage& hitImage() const;
    void changed();

    mutable QImage hitImage_;
};

}  // namespace kalvintor::ui
