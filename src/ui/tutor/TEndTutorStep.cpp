// The end-of-step dialog.
#include "TEndTutorStep.h"

#include "app/Style.h"
#include "app/Texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {
constexpr int kMarkMargin = 5;
}

TEndTutorStep::TEndTutorStep(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("EndTutorStep"));
    setWindowTitle(text(8128, "End of step"));
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(style::uiFont(12, QFont::Bold));
    Label4->setStyleSheet(QStringLiteral("color: %1").arg(style::kNavy.name()));
    Label4->setWordWrap(true);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(style::uiFont(10));
    Label2->setWordWrap(true);
    const auto make = [this](const char* name, int id, const char* english, int result) {
        auto* b = new QPushButton(text(id, english), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumHeight(30);
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        return b;
    };
    BitBtn1 = make("BitBtn1", 8125, "Next step", tutor::kNextStep);
    BitBtn2 = make("BitBtn2", 8126, "Stay", tutor::kStay);
    BitBtn3 = make("BitBtn3", 8127, "Previous step", tutor::kPreviousStep);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style::kMargin * 2, style::kMargin * 2, style::kMargin * 2,
                               style::kMargin * 2);
    layout->setSpacing(style::kMargin);
    layout->addWidget(Label4);
    layout->addWidget(Label2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(style::kMargin * 2);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    layout->addLayout(buttons);
    setMinimumWidth(440);
}

void TEndTutorStep::Fill(const tutor::StepJudgement& j) {
    Label4->setText(QString::fromStdString(j.message));
    Label2->setText(QString::fromStdString(j.recommendation));
    BitBtn1->setEnabled(j.nextEnabled);
    BitBtn2->setEnabled(j.stayEnabled);
    BitBtn3->setEnabled(j.previousEnabled);
    switch (j.recommended) {
        case tutor::Recommendation::Next:
            recommended_ = BitBtn1;
            break;
        case tutor::Recommendation::Stay:
            recommended_ = BitBtn2;
            break;
        case tutor::Recommendation::Previous:
            recommended_ = BitBtn3;
            break;
        case tutor::Recommendation::None:
            recommended_ = nullptr;
            break;
    }
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) b->setDefault(b == recommended_);
    if (recommended_) recommended_->setFocus();
    update();
}

void TEndTutorStep::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    if (!recommended_) return;
    // The advised way on stands on a yellow mark.
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(style::kSounding);
    const QRect r = recommended_->geometry().adjusted(-kMarkMargin, -kMarkMargin, kMarkMargin, kMarkMargin);
    p.drawRoundedRect(r, style::kCorner * 2, style::kCorner * 2);
}

}  // namespace kalvintor::ui
