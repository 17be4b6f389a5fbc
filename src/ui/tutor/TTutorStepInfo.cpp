// The step information dialog.
#include "TTutorStepInfo.h"

#include "app/Style.h"
#include "app/Texts.h"
#include "language/Format.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {
constexpr int kHintWidth = 339;
}

TTutorStepInfo::TTutorStepInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TutorStepInfo"));
    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFont(style::uiFont(10));
    Label5->setAccessibleName(text(8122, "Step information"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(style::uiFont(13, QFont::Bold));
    Label2->setStyleSheet(QStringLiteral("color: %1").arg(style::kNavy.name()));
    Label2->setWordWrap(true);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(style::uiFont(10));
    Label1->setWordWrap(true);
    Label1->setFixedWidth(kHintWidth);
    Label1->setAccessibleName(text(8123, "Hint"));
    Label1->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    BitBtn1 = new QPushButton(text(90, "OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(text(8120, "Change step..."), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style::kMargin, style::kMargin, style::kMargin, style::kMargin);
    layout->setSpacing(style::kGap);
    layout->addWidget(Label5);
    layout->addWidget(Label2);
    layout->addWidget(Label1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        if (changeStep) changeStep();
    });
}

void TTutorStepInfo::Fill(const QString& caption, int step, const QString& tutorTitle,
                          const QString& stepName, const QString& hint, bool found, bool mayChangeStep) {
    setWindowTitle(caption);
    Label5->setText(QString::fromStdString(language::FormatText(
        text(4300, "Step %d of the tutor%s").toStdString(), {step, "\n" + tutorTitle.toStdString()})));
    Label2->setText(found ? stepName : text(8121, "Error reading user tutor data"));
    Label1->setText(hint);
    Label1->setVisible(!hint.isEmpty());
    BitBtn2->setVisible(mayChangeStep);
}

}  // namespace kalvintor::ui
