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
constexpr int kTextMinHeight = 35;

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

TTipform::TTipform(int tip, QWidget* parent)
    : QDialog(parent),
      Label1(new QLabel(this)),
      CheckBox1(new QCheckBox(this)),
      Button1(new QPushButton(this)) {
    setObjectName(QStringLiteral("Tipform"));
    setWindowTitle(QStringLiteral("Kalvintor"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setFixedWidth(kTextWidth);
    Label1->setMinimumHeight(kTextMinHeight);
    if (tip >= 1 && tip <= app::kTipCount) Label1->setText(text(app::kTipTextBase + tip, kTips[tip - 1]));
    auto* picture = new QLabel(this);
    picture->setPixmap(bulb(32, devicePixelRatioF()));
    picture->setAlignment(Qt::AlignTop);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setText(text(5309, "Hide this tip"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setText(text(95, "Close"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);

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
    row->addWidget(Button1);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TTipform::ShowTip(int tip, ExerciseHost& host, QWidget* parent) {
    TTipform window(tip, parent);
    window.exec();
    const app::TipClosed closed =
        app::CloseTip(host.settings().tipsToShow, tip, window.CheckBox1->isChecked());
    if (closed.mask != host.settings().tipsToShow) host.setTipsToShow(closed.mask);
    return closed.stillOffered;
}

void TTipform::connectButton(QAbstractButton* button, int tip, ExerciseHost& host) {
    button->setIcon(buttonIcon());
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [button, tip, &host] { button->setVisible(ShowTip(tip, host, button->window())); });
}

QIcon TTipform::buttonIcon() {
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) icon.addPixmap(bulb(24, ratio));
    return icon;
}

}  // namespace kalvintor::ui
