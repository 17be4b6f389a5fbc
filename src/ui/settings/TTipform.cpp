// The tip window.
#include "TTipform.h"

#include "app/ConfigWizard.h"
#include "app/Style.h"
#include "app/Texts.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

// Tip n is language text 5310 + n.
QString tipText(int tip) {
    static const char* const kEnglish[app::kTipCount] = {
        "Press \"New question\" to hear a question, then answer on the buttons, piano, guitar or staff.",
        "Right-click a name button to give your answer at once.",
        "The tempo slider sets how fast questions are played.",
        "Setups you save can be loaded again with F2.",
        "Your results are kept when you leave an exercise after five or more questions.",
        "Tap the rhythm on the space bar, a MIDI key or by clapping into the microphone."};
    return tip >= 1 && tip <= app::kTipCount ? text(5310 + tip, kEnglish[tip - 1]) : QString();
}

}  // namespace

TTipform::TTipform(std::uint32_t& tipMask, int tip, bool atStart, QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(this)),
      CheckBox1(new QCheckBox(text(5309, "Hide this tip"), this)),
      ShowAtStartBox(new QCheckBox(text(8011, "Show tips at start"), this)),
      NextButton(new QPushButton(text(8012, "Next tip"), this)),
      Button1(new QPushButton(text(95, "Close"), this)),
      mask_(tipMask),
      tip_(tip) {
    setObjectName(QStringLiteral("Tipform"));
    setWindowTitle(QStringLiteral("Kalvintor"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setFixedWidth(273);
    Label1->setMinimumHeight(35);
    Label1->setFont(style::uiFont(10));
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    ShowAtStartBox->setObjectName(QStringLiteral("ShowAtStart"));
    ShowAtStartBox->setChecked(true);
    NextButton->setObjectName(QStringLiteral("NextTip"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    ShowAtStartBox->setVisible(atStart);
    NextButton->setVisible(atStart);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(NextButton, &QPushButton::clicked, this, &TTipform::NextTip);

    // The separator 8 pixels below the text, the check box 12 below it, the close button on the
    // check box's row.
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    auto* row = new QHBoxLayout;
    row->addWidget(CheckBox1);
    row->addStretch(1);
    row->addWidget(NextButton);
    row->addWidget(Button1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addSpacing(8);
    layout->addWidget(line);
    layout->addSpacing(12);
    layout->addLayout(row);
    layout->addWidget(ShowAtStartBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    showText();
}

void TTipform::showText() {
    Label1->setText(tipText(tip_));
    CheckBox1->setChecked(false);
}

void TTipform::takeHideChoice() {
    if (CheckBox1->isChecked()) app::HideTip(mask_, tip_);
}

void TTipform::NextTip() {
    takeHideChoice();
    const int next = app::TipAtStart(mask_, tip_ % app::kTipCount + 1);
    if (next == 0) {
        accept();
        return;
    }
    tip_ = next;
    showText();
}

void TTipform::done(int result) {
    takeHideChoice();
    // No tips at start any more: none is offered until the tips are reset in the settings.
    if (!ShowAtStartBox->isHidden() && !ShowAtStartBox->isChecked()) mask_ = 0;
    QDialog::done(result);
}

bool TTipform::ShowTip(std::uint32_t& tipMask, int tip, QWidget* parent) {
    TTipform form(tipMask, tip, false, parent);
    form.exec();
    return !form.CheckBox1->isChecked();
}

bool TTipform::ShowAtStart(std::uint32_t& tipMask, int dayNumber, QWidget* parent) {
    const int tip = app::TipAtStart(tipMask, dayNumber % app::kTipCount + 1);
    if (tip == 0) return false;
    TTipform form(tipMask, tip, true, parent);
    form.exec();
    return true;
}

}  // namespace kalvintor::ui
