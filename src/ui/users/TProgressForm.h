// The progress window of long tasks: a caption line and a real progress bar.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kalvintor::ui {

class TProgressForm final : public QDialog {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);

    // Item `index` (0-based) of `count` is being worked on; shows the window when hidden.
    void Step(int index, int count, const QString& caption);
    // Hides the window.
    void Done();

    QLabel* Label1;
    QProgressBar* ProgressBar1;
};

}  // namespace kalvintor::ui
