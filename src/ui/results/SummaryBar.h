// The result bar of the results window's summary line, on its light grey ground.
#pragma once

#include <QWidget>

namespace kalvintor::ui {

class SummaryBar final : public QWidget {
    Q_OBJECT
public:
    explicit SummaryBar(QWidget* parent = nullptr);
    void setResult(int exercise, int correct, int questions);
    QSize sizeHint() const override { return {220, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int exercise_ = 1;
    int correct_ = 0;
    int questions_ = 0;
};

}  // namespace kalvintor::ui
