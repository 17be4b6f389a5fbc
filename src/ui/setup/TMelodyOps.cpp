// The melody setup view.
#include "TMelodyOps.h"

#include "app/Style.h"
#include "app/Texts.h"
#include "setup/SetupRecord.h"
#include "theory/Naming.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

namespace bits = pitch::answer_bits;

struct KeyButton {
    const char* name;
    const char* caption;
};
constexpr std::array<KeyButton, pitch::kMelodyKeyCount> kKeys{{{"SpeedButton6", "Gb/eb"},
                                                               {"SpeedButton12", "Db/bb"},
                                                               {"SpeedButton11", "Ab/f"},
                                                               {"SpeedButton10", "Eb/c"},
                                                               {"SpeedButton9", "Bb/g"},
                                                               {"SpeedButton8", "F/d"},
                                                               {"SpeedButton7", "C/a"},
                                                               {"SpeedButton1", "G/e"},
                                                               {"SpeedButton2", "D/b"},
                                                               {"SpeedButton3", "A/f#"},
                                                               {"SpeedButton4", "E/c#"},
                                                               {"SpeedButton5", "B/g#"}}};
constexpr int kCMajorKey = 6;
constexpr std::array<int, 7> kIntervalTexts{3104, 3108, 3110, 3114, 3118, 3122, 3124};
constexpr std::array<const char*, 7> kIntervalNames{"Second", "Third",   "Fourth", "Fifth",
                                                    "Sixth",  "Seventh", "Octave"};

QCheckBox* check(QWidget* parent, const char* name, int id, const char* english) {
    auto* box = new QCheckBox(text(id, english), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

std::uint8_t flag(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

bool typeIsMode(int type) {
    return (type >= 1 && type <= 4) || type == 6;
}
bool typeHasNoKey(int type) {
    return type == pitch::melody_types::kWholeTone || type == pitch::melody_types::kChromatic;
}

}  // namespace

TMelodyOps::TMelodyOps(SetupViewHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("TMelodyOps"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(style::kMargin, style::kMargin, style::kMargin, style::kMargin);

    auto* left = new QVBoxLayout;
    auto* form = new QGridLayout;
    auto labelled = [this, form](int row, int id, const char* english, QWidget* control) {
        auto* label = new QLabel(text(id, english), this);
        label->setBuddy(control);
        control->setAccessibleName(label->text().remove(QLatin1Char('&')));
        form->addWidget(label, row, 0);
        form->addWidget(control, row, 1);
    };
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(1, 11);
    SpinEdit1->setSingleStep(2);
    labelled(0, 1902, "Number of tones:", SpinEdit1);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    labelled(1, 1905, "Largest leap:", ComboBox1);
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    labelled(2, 1910, "Ambitus:", ComboBox2);
    for (std::size_t i = 0; i < kIntervalTexts.size(); ++i) {
        ComboBox1->addItem(text(kIntervalTexts[i], kIntervalNames[i]));
        ComboBox2->addItem(text(kIntervalTexts[i], kIntervalNames[i]));
    }
    ComboBox3 = new QComboBox(this);
    ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
    labelled(3, 1920, "Melody type:", ComboBox3);
    left->addLayout(form);

    auto* keys = new QGroupBox(text(7591, "Keys"), this);
    auto* keyLayout = new QGridLayout(keys);
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        auto* b = new QToolButton(keys);
        b->setObjectName(QString::fromLatin1(kKeys[i].name));
        b->setText(QString::fromLatin1(kKeys[i].caption));
        b->setAccessibleName(text(7592, "Key") + QLatin1Char(' ') + b->text());
        b->setCheckable(true);
        b->setMinimumWidth(56);
        connect(b, &QToolButton::clicked, this, [this] { keyRule(); });
        keyLayout->addWidget(b, static_cast<int>(i) / 6, static_cast<int>(i) % 6);
        keyButtons[i] = b;
    }
    left->addWidget(keys);

    auto* range = new QGroupBox(text(1915, "Range"), this);
    auto* rangeLayout = new QVBoxLayout(range);
    Picker = new RangePicker(range);
    Picker->setAccessibleName(text(1915, "Range"));
    Picker->setMinLimitDistance(5);
    rangeLayout->addWidget(Picker);
    left->addWidget(range);
    left->addStretch(1);
    outer->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    auto* options = new QGroupBox(text(7526, "Options"), this);
    auto* optionLayout = new QVBoxLayout(options);
    CheckBox1 = check(options, "CheckBox1", 365, "Show key signature");
    CheckBox2 = check(options, "CheckBox2", 1935, "Play keynote/tonic");
    RadioButton1 = new QRadioButton(text(1936, "Base tones"), options);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton5 = new QRadioButton(text(1937, "Cadence"), options);
    RadioButton5->setObjectName(QStringLiteral("RadioButton5"));
    CheckBox3 = check(options, "CheckBox3", 380, "Play tone on click");
    CheckBox4 = check(options, "CheckBox4", 384, "Auto answer");
    CheckBox6 = check(options, "CheckBox6", 386, "Show first tone");
    CheckBox8 = check(options, "CheckBox8", 110, "Rhythms");
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox1, CheckBox2, RadioButton1, RadioButton5,
                                                      CheckBox3, CheckBox4, CheckBox6, CheckBox8})
        optionLayout->addWidget(w);
    right->addWidget(options);

    auto* answer = new QGroupBox(text(7528, "Answer"), this);
    auto* answerLayout = new QVBoxLayout(answer);
    CheckBox5 = check(answer, "CheckBox5", 382, "Lock");
    CheckBox11 = check(answer, "CheckBox11", 255, "on Piano");
    CheckBox13 = check(answer, "CheckBox13", 257, "on Guitar");
    CheckBox12 = check(answer, "CheckBox12", 260, "on Notesheet");
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox5, CheckBox11, CheckBox13, CheckBox12})
        answerLayout->addWidget(w);
    right->addWidget(answer);

    SpeedButton13 = new QPushButton(text(7515, "Restore"), this);
    SpeedButton13->setObjectName(QStringLiteral("SpeedButton13"));
    SpeedButton13->setToolTip(text(394, "Restore to previous settings"));
    right->addWidget(SpeedButton13);
    right->addStretch(1);
    outer->addLayout(right);

    connect(ComboBox3, &QComboBox::currentIndexChanged, this, [this] { typeRule(); });
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { tonicRule(); });
    connect(CheckBox5, &QCheckBox::toggled, this, [this] { lockRule(); });
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int tones) {
        if (tones <= 1 && CheckBox6->isChecked()) CheckBox6->setChecked(false);
    });
    connect(CheckBox6, &QCheckBox::clicked, this, [this](bool on) {
        if (on && SpinEdit1->value() == 1) SpinEdit1->setValue(3);
    });
    connect(SpeedButton13, &QPushButton::clicked, this, [this] { Restore(); });
    fillTypeList();
}

void TMelodyOps::showEvent(QShowEvent* event) {
    Picker->setPicture(setup::pickerPicture(host_.answerPicture()));
    Picker->setMinLimitDistance(5);
    QWidget::showEvent(event);
}

void TMelodyOps::fillTypeList() {
    const theory::ChordCatalogue& catalogue = host_.editableCatalogue();
    const QSignalBlocker block(ComboBox3);
    const int keep = ComboBox3->currentIndex();
    ComboBox3->clear();
    for (int e = 1; e <= 11; ++e)
        ComboBox3->addItem(QString::fromStdString(catalogue.scales().entry(e).name));
    for (int e : pitch::melody_types::kProgressionEntries)
        ComboBox3->addItem(
            QString::fromStdString(theory::ProgressionName(catalogue.progressions().entry(e))));
    ComboBox3->setCurrentIndex(keep);
}

void TMelodyOps::LoadSetup(int exercise, const setup::SetupRecord& setup) {
    exercise_ = exercise;
    fillTypeList();
    if (exercise == 9) {
        stored_ = setup.melodyBlock();
        const pitch::MelodySetup& m = stored_;
        SpinEdit1->setValue(m.length);
        ComboBox1->setCurrentIndex(m.largestLeap - 1);
        ComboBox2->setCurrentIndex(m.ambitus - 1);
        {
            const QSignalBlocker block(ComboBox3);
            ComboBox3->setCurrentIndex(m.melodyType <= pitch::melody_types::kLast ? m.melodyType : 0);
        }
        for (std::size_t i = 0; i < keyButtons.size(); ++i) keyButtons[i]->setChecked(m.keys[i] != 0);
        CheckBox1->setChecked(m.showKeySignature != 0);
        CheckBox2->setChecked((m.tonic & 15) != 0);
        (m.tonic >= 32 && m.tonic <= 47 ? RadioButton5 : RadioButton1)->setChecked(true);
        CheckBox3->setChecked(m.playToneOnClick != 0);
        CheckBox5->setChecked((m.answerModes & bits::kLock) != 0);
        CheckBox11->setChecked((m.answerModes & bits::kPiano) != 0);
        CheckBox13->setChecked((m.answerModes & bits::kGuitar) != 0);
        CheckBox12->setChecked((m.answerModes & bits::kNotesheet) != 0);
        CheckBox4->setChecked(m.autoAnswer != 0);
        CheckBox6->setChecked(m.showFirstTone != 0);
        CheckBox8->setChecked(m.rhythm != 0);
        Picker->setLimits({m.lowerLimit, m.upperLimit});
        lockRule();
    }
    typeRule();
}

void TMelodyOps::StoreSetup(int exercise, setup::SetupRecord& setup) {
    if (exercise != 9) return;
    pitch::MelodySetup m = setup.melodyBlock();
    m.length = static_cast<std::uint8_t>(SpinEdit1->value());
    m.largestLeap =
        static_cast<std::uint8_t>(ComboBox1->currentIndex() < 0 ? 3 : ComboBox1->currentIndex() + 1);
    m.ambitus = static_cast<std::uint8_t>(ComboBox2->currentIndex() < 0 ? 3 : ComboBox2->currentIndex() + 1);
    m.melodyType = static_cast<std::uint8_t>(std::max(ComboBox3->currentIndex(), 0));
    for (std::size_t i = 0; i < keyButtons.size(); ++i) m.keys[i] = keyButtons[i]->isChecked() ? 1 : 0;
    m.showKeySignature = flag(CheckBox1);
    m.tonic = static_cast<std::uint8_t>(flag(CheckBox2) + 16 * (RadioButton1->isChecked() ? 1 : 0) +
                                        32 * (RadioButton5->isChecked() ? 1 : 0));
    m.playToneOnClick = flag(CheckBox3);
    m.answerModes = static_cast<std::uint8_t>(2 * flag(CheckBox11) + 4 * flag(CheckBox13) +
                                              8 * flag(CheckBox12) + 128 * flag(CheckBox5));
    m.autoAnswer = flag(CheckBox4);
    m.showFirstTone = flag(CheckBox6);
    m.rhythm = flag(CheckBox8);
    const setup::PitchLimits limits = Picker->limits();
    m.upperLimit = static_cast<std::uint8_t>(limits.upper);
    m.lowerLimit = static_cast<std::uint8_t>(limits.lower);
    setup.setMelodyBlock(m);
}

void TMelodyOps::Restore() {
    if (exercise_ == 9) LoadSetup(9, host_.enteredSetup());
    Picker->update();
}

void TMelodyOps::typeRule() {
    const int type = ComboBox3->currentIndex();
    if (typeHasNoKey(type)) {
        for (QToolButton* b : keyButtons) b->hide();
        CheckBox1->setChecked(false);
        CheckBox1->setEnabled(false);
        CheckBox2->setChecked(false);
        CheckBox2->setEnabled(false);
    } else {
        for (QToolButton* b : keyButtons) b->show();
        CheckBox1->setEnabled(true);
        CheckBox1->setChecked(stored_.showKeySignature != 0);
        CheckBox2->setEnabled(!typeIsMode(type));
        CheckBox2->setChecked((stored_.tonic & 15) != 0 && !typeIsMode(type));
    }
    tonicRule();
}

void TMelodyOps::tonicRule() {
    RadioButton1->setEnabled(CheckBox2->isChecked());
    RadioButton5->setEnabled(CheckBox2->isChecked());
}

void TMelodyOps::lockRule() {
    for (QCheckBox* b : {CheckBox11, CheckBox13, CheckBox12}) b->setEnabled(CheckBox5->isChecked());
}

void TMelodyOps::keyRule() {
    for (const QToolButton* b : keyButtons)
        if (b->isChecked()) return;
    keyButtons[kCMajorKey]->setChecked(true);
}

}  // namespace kalvintor::ui
