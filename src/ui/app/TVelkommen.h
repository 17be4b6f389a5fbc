// The welcome window: shown while the program builds its windows, and again by "About Kalvintor...".
#pragma once

#include <QWidget>

class QLabel;

namespace kalvintor::ui {

class TVelkommen final : public QWidget {
    Q_OBJECT
public:
    explicit TVelkommen(QWidget* parent = nullptr);

    // Shows the window with its build label ("About Kalvintor...").
    void showAbout();

    QLabel* versionLabel() const { return versionLabel_; }
    QLabel* buildLabel() const { return buildLabel_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* versionLabel_;
    QLabel* buildLabel_;
};

}  // namespace kalvintor::ui
