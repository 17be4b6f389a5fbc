// The tick shown beside a right answer, drawn as vector shapes so it stays sharp at any scale.
#pragma once

#include <QWidget>

namespace kalvintor::ui {

class TickIcon final : public QWidget {
    Q_OBJECT
public:
    explicit TickIcon(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kalvintor::ui
