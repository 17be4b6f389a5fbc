// The tip window and the tip buttons' picture.
#include "TTipform.h"

#include "ExerciseHost.h"
#include "Style.h"
#include "Texts.h"
#include "app/Tips.h"
#include "settings/SettingRecord.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

constexpr int kTextWidth = 273;
constexpr int kTextMinHeight = 35;
// The tips in English, where no language file gives them.
constexpr const char* kTips[app::kTipCount] = {
    ("Press \"New question\" to hear a question, then answer on the buttons, the piano, the guitar or "
     "the staff."),
    "Right-click a name button to give your answer at once.",
    "The tempo slider sets how fast questions are played.",
    "Setups you save can be loaded again with F2.",
    "Your results are kept when you leave an exercise after five or more questions.",
    "Tap the rhythm on the space bar, a MIDI key or by clapping into the microphone.",
};

QString tipText(int tip) {
    return tip >= 1 && tip <= app::kTipCount ? text(app::kTipTextBase + tip, kTips[tip - 1]) : QString();
}

QPixmap bulb(int size, qreal ratio) {
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    // A light bulb: the glass, its neck and the screw thread.
    p.setPen(QPen(style::kInk, s / 16));
    p.setBrush(style::kSounding);
    QPainterPath glass;
    glass.addEllipse(QRectF(s * 0.22, s * 0.06, s * 0.56, s * 0.56));
    QPainterPath neck;
    neck.addRect(QRectF(s * 0.36, s * 0.5, s * 0.28, s * 0.2));
    p.drawPath(glass.united(neck));
    p.setBrush(style::kDisabled);
    p.drawRoundedRect(QRectF(s * 0.36, s * 0.7, s * 0.28, s * 0.2), s / 24, s / 24);
    p.setPen(QPen(style::kInk, s / 20));
    p.drawLine(QPointF(s * 0.36, s * 0.8), QPointF(s * 0.64, s * 0.8));
    return pixmap;
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
    Label1->setFixedWidth(kTextWidth);
    Label1->setMinimumHeight(kTextMinHeight);
    auto* picture = new QLabel(this);
    picture->setPixmap(bulb(32, devicePixelRatioF()));
    picture->setAlignment(Qt::AlignTop);
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

    // The separator 8 pixels below the text, the check box 12 below it with the close button on
    // its row: the window grows with the tip's lines.
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    auto* top = new QHBoxLayout;
    top->setSpacing(style::kMargin);
    top->addWidget(picture);
    top->addWidget(Label1);
    layout->addLayout(top);
    layout->addSpacing(8);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    layout->addSpacing(12);
    auto* row = new QHBoxLayout;
    row->addWidget(CheckBox1);
    row->addStretch(1);
    row->addWidget(NextButton);
    row->addWidget(Button1);
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

void TTipform::connectButton(QAbstractButton* button, int tip, ExerciseHost& host) {
    button->setIcon(buttonIcon());
    QObject::connect(button, &QAbstractButton::clicked, button, [button, tip, &host] {
        std::uint32_t mask = host.settings().tipsToShow;
        const bool offered = ShowTip(mask, tip, button->window());
        if (mask != host.settings().tipsToShow) host.setTipsToShow(mask);
        button->setVisible(offered);
    });
}

QIcon TTipform::buttonIcon() {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) icon.addPixmap(bulb(24, ratio));
    return icon;
}

}  // namespace kalvintor::ui
