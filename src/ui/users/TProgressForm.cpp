// The progress window.
#include "users/TProgressForm.h"

#include "app/Texts.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace kalvintor::ui {

TProgressForm::TProgressForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ProgressForm"));
    setWindowTitle(text(7252, "Please wait"));
    setWindowModality(Qt::ApplicationModal);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(text(7253, "Progress"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    setMinimumWidth(360);
}

void TProgressForm::Step(int index, int count, const QString& caption) {
    Label1->setText(caption);
    ProgressBar1->setRange(0, std::max(count, 1));
    ProgressBar1->setValue(std::clamp(index + 1, 0, std::max(count, 1)));
    if (!isVisible()) show();
    // The bar moves while the work goes on, but no input reaches the program meanwhile.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TProgressForm::Done() {
    hide();
}

}  // namespace kalvintor::ui
