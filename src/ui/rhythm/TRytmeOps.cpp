// The rhythm setup view.
#include "rhythm/TRytmeOps.h"

#include "app/Style.h"
#include "app/Texts.h"
#include "exercises/rhythm/Rytme.h"
#include "setup/SetupRecord.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

namespace {

// Note pictures of the value and triplet buttons (music font), and their names.
constexpr std::array<char32_t, r::kNoteValueCount> kValueGlyphs{0xE1D2, 0xE1D3, 0xE1D5,
                                                                0xE1D7, 0xE1D9, 0xE1DB};
constexpr std::array<std::pair<int, const char*>, r::kNoteValueCount> kValueNames{
    {{7410, "Whole note"},
     {7411, "Half note"},
     {7412, "Quarter note"},
     {7413, "Eighth note"},
     {7414, "Sixteenth note"},
     {7415, "Thirty-second note"}}};
constexpr std::array<std::pair<int, const char*>, r::kTripletValueCount> kTripletNames{
    {{7416, "Half-note triplet"},
     {7417, "Quarter-note triplet"},
     {7418, "Eighth-note triplet"},
     {7419, "Sixteenth-note triplet"}}};
constexpr char32_t kTupletThree = 0xE883;
constexpr int kTempoStep = 10;

QToolButton* toggle(QWidget* parent, const QString& name) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setCheckable(true);
    b->setMinimumSize(48, 44);
    b->setFocusPolicy(Qt::StrongFocus);
    return b;
}

QLabel* heading(QWidget* parent, int id, const char* english) {
    auto* l = new QLabel(text(id, english), parent);
    bindCaption(l, id);
    l->setFont(style::uiFont(11, QFont::Bold));
    return l;
}

}  // namespace

TRytmeOps::TRytmeOps(std::function<const setup::SetupRecord&()> savedCopy, QWidget* parent)
    : QWidget(parent),
      savedCopy_(std::move(savedCopy)),
      TrackBar1(new QSlider(Qt::Horizontal, this)),
      Label51(new QLabel(this)),
      SpinEdit2(new QSpinBox(this)),
      Pause3(new QCheckBox(this)),
      CorrectionsLabel(nullptr),
      SpinEdit3(new QSpinBox(this)),
      RadioGroup1(new QGroupBox(this)),
      CheckBox1(new QCheckBox(this)),
      CheckBox3(new QCheckBox(this)),
      CheckBox6(new QCheckBox(this)),
      SpeedButton25(new QToolButton(this)) {
    setObjectName(QStringLiteral("RytmeOps"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, style::kPaper);
    setPalette(palette);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(style::kMargin);
    grid->setVerticalSpacing(style::kGap);

    // Note values and triplets.
    grid->addWidget(heading(panel, 905, "Note values"), 0, 0);
    auto* valueRow = new QHBoxLayout;
    const QFont music = style::musicFont(30);
    for (int i = 0; i < r::kNoteValueCount; ++i) {
        QToolButton* b = toggle(panel, QStringLiteral("SpeedButton%1").arg(i + 1));
        b->setFont(music);
        b->setText(style::glyph(kValueGlyphs[static_cast<std::size_t>(i)]));
        const auto [id, english] = kValueNames[static_cast<std::size_t>(i)];
        b->setAccessibleName(text(id, english));
        b->setToolTip(text(id, english));
        connect(b, &QToolButton::clicked, this, [this, i] { valueClicked(i, false); });
        values_[static_cast<std::size_t>(i)] = b;
        valueRow->addWidget(b);
    }
    valueRow->addStretch(1);
    grid->addLayout(valueRow, 0, 1);
    grid->addWidget(heading(panel, 930, "Triplets"), 1, 0);
    auto* tripletRow = new QHBoxLayout;
    for (int i = 0; i < r::kTripletValueCount; ++i) {
        QToolButton* b = toggle(panel, QStringLiteral("SpeedButton%1").arg(i + 7));
        const auto [id, english] = kTripletNames[static_cast<std::size_t>(i)];
        b->setFont(music);
        b->setText(style::glyph(kTupletThree) + style::glyph(kValueGlyphs[static_cast<std::size_t>(i + 1)]));
        b->setAccessibleName(text(id, english));
        b->setToolTip(text(id, english));
        connect(b, &QToolButton::clicked, this, [this, i] { valueClicked(i, true); });
        triplets_[static_cast<std::size_t>(i)] = b;
        tripletRow->addWidget(b);
    }
    tripletRow->addStretch(1);
    grid->addLayout(tripletRow, 1, 1);

    // Meters.
    grid->addWidget(heading(panel, 910, "Time signatures"), 2, 0);
    auto* meterGrid = new QGridLayout;
    for (int i = 0; i < r::kMeterCount; ++i) {
        QToolButton* b = toggle(panel, QStringLiteral("SpeedButton%1").arg(i + 11));
        const auto& m = r::MeterTable[static_cast<std::size_t>(i + 1)];
        b->setText(QStringLiteral("%1/%2").arg(m.numerator).arg(m.denominator));
        b->setFont(style::uiFont(12, QFont::Bold));
        connect(b, &QToolButton::clicked, this, [this, i] { meterClicked(i); });
        meters_[static_cast<std::size_t>(i)] = b;
        meterGrid->addWidget(b, i / 7, i % 7);
    }
    grid->addLayout(meterGrid, 2, 1);

    // Options.
    grid->addWidget(heading(panel, 915, "Include"), 3, 0);
    auto* options = new QHBoxLayout;
    for (auto [box, name, id, english] :
         {std::tuple{Pause3, "Pause3", 920, "Rests"}, std::tuple{CheckBox1, "CheckBox1", 925, "Ties"},
          std::tuple{CheckBox3, "CheckBox3", 932, "Dotted notes"},
          std::tuple{CheckBox6, "CheckBox6", 965, "Show rhythm second time"}}) {
        box->setObjectName(QString::fromLatin1(name));
        box->setText(text(id, english));
        bindCaption(box, id);
        options->addWidget(box);
    }
    options->addStretch(1);
    grid->addLayout(options, 3, 1);
    connect(CheckBox3, &QCheckBox::toggled, this, [this](bool on) {
        buttons_.dotted = on;
        r::ApplyValueRule(buttons_);
        showChoices();
    });

    // Bars, corrections, tempo.
    grid->addWidget(heading(panel, 935, "Bars"), 4, 0);
    auto* numbers = new QHBoxLayout;
    SpinEdit2->setObjectName(QStringLiteral("SpinEdit2"));
    SpinEdit2->setAccessibleName(text(935, "Bars"));
    numbers->addWidget(SpinEdit2);
    CorrectionsLabel = new QLabel(text(1340, "Corrections"), panel);
    CorrectionsLabel->setObjectName(QStringLiteral("Label3"));
    bindCaption(CorrectionsLabel, 1340);
    SpinEdit3->setObjectName(QStringLiteral("SpinEdit3"));
    SpinEdit3->setAccessibleName(text(1340, "Corrections"));
    SpinEdit3->setRange(1, r::kMaxErrors);
    numbers->addSpacing(style::kMargin * 2);
    numbers->addWidget(CorrectionsLabel);
    numbers->addWidget(SpinEdit3);
    numbers->addStretch(1);
    grid->addLayout(numbers, 4, 1);

    grid->addWidget(heading(panel, 936, "Initial speed"), 5, 0);
    auto* tempoRow = new QHBoxLayout;
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setAccessibleName(text(936, "Initial speed"));
    TrackBar1->setRange(r::kMinTempo, r::kMaxTempo);
    TrackBar1->setSingleStep(2);
    TrackBar1->setPageStep(kTempoStep);
    TrackBar1->setTickInterval(kTempoStep);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    Label51->setObjectName(QStringLiteral("Label51"));
    Label51->setMinimumWidth(60);
    connect(TrackBar1, &QSlider::valueChanged, this,
            [this](int v) { Label51->setText(QStringLiteral("= %1").arg(v)); });
    tempoRow->addWidget(TrackBar1, 1);
    tempoRow->addWidget(Label51);
    grid->addLayout(tempoRow, 5, 1);

    auto* group = static_cast<QGroupBox*>(RadioGroup1);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    group->setTitle(text(950, "Evaluation"));
    bindText(group, 950, [group](const QString& t) { group->setTitle(t); });
    auto* radios = new QHBoxLayout(group);
    const std::array<std::pair<int, const char*>, 3> strictNames{
        {{952, "Kind"}, {954, "Normal"}, {956, "Severe"}}};
    for (std::size_t i = 0; i < strictness_.size(); ++i) {
        strictness_[i] = new QRadioButton(text(strictNames[i].first, strictNames[i].second), group);
        strictness_[i]->setObjectName(QStringLiteral("RadioGroup1Item%1").arg(i));
        bindCaption(strictness_[i], strictNames[i].first);
        radios->addWidget(strictness_[i]);
    }
    grid->addWidget(group, 6, 0, 1, 2);

    SpeedButton25->setObjectName(QStringLiteral("SpeedButton25"));
    SpeedButton25->setText(text(7420, "Restore"));
    SpeedButton25->setToolTip(text(394, "Restore to previous settings"));
    SpeedButton25->setAccessibleName(text(394, "Restore to previous settings"));
    connect(SpeedButton25, &QToolButton::clicked, this, [this] { restore(); });
    grid->addWidget(SpeedButton25, 7, 1, Qt::AlignRight);

    auto* outer = new QVBoxLayout(this);
    outer->addStretch(1);
    outer->addWidget(panel, 0, Qt::AlignHCenter);
    outer->addStretch(1);
}

void TRytmeOps::showChoices() {
    for (std::size_t i = 0; i < meters_.size(); ++i) meters_[i]->setChecked(buttons_.meters[i]);
    for (std::size_t i = 0; i < values_.size(); ++i) {
        values_[i]->setChecked(buttons_.values[i]);
        values_[i]->setEnabled(buttons_.valueEnabled[i]);
    }
    for (std::size_t i = 0; i < triplets_.size(); ++i) {
        triplets_[i]->setChecked(buttons_.triplets[i]);
        triplets_[i]->setEnabled(buttons_.tripletEnabled[i]);
    }
}

void TRytmeOps::meterClicked(int index) {
    buttons_.meters[static_cast<std::size_t>(index)] = meters_[static_cast<std::size_t>(index)]->isChecked();
    r::ApplyMeterRule(buttons_);
    showChoices();
}

void TRytmeOps::valueClicked(int index, bool triplet) {
    const auto i = static_cast<std::size_t>(index);
    if (triplet)
        buttons_.triplets[i] = triplets_[i]->isChecked();
    else
        buttons_.values[i] = values_[i]->isChecked();
    r::ApplyValueRule(buttons_, !triplet && index == r::kEighthButton);
    showChoices();
}

void TRytmeOps::LoadSetup(int exercise, const setup::SetupRecord& setup) {
    if (exercise < 4 || exercise > 6) {
        r::ApplyMeterRule(buttons_);
        showChoices();
        return;
    }
    exercise_ = exercise;
    const r::RhythmSetup block = setup.rhythmBlock(exercise);
    buttons_ = r::ButtonsFromSetup(block);
    const bool correction = exercise == 6;
    SpinEdit2->setRange(1, exercise == 5 ? r::kMaxBars : 6);
    SpinEdit2->setValue(block.bars);
    CheckBox1->setEnabled(!correction);
    CheckBox1->setChecked(!correction && block.ties != 0);
    {
        const QSignalBlocker quiet(CheckBox3);
        CheckBox3->setChecked(block.dotted != 0);
    }
    Pause3->setChecked(block.rests != 0);
    RadioGroup1->setVisible(!correction);
    const int strict = std::clamp<int>(block.strictness, 0, 2);
    strictness_[static_cast<std::size_t>(strict)]->setChecked(true);
    CorrectionsLabel->setVisible(correction);
    SpinEdit3->setVisible(correction);
    SpinEdit3->setValue(block.errors);
    CheckBox6->setVisible(exercise == 4);
    CheckBox6->setChecked(block.showSecondTime != 0);
    TrackBar1->setValue(block.tempo);
    Label51->setText(QStringLiteral("= %1").arg(block.tempo));
    r::ApplyMeterRule(buttons_);
    showChoices();
}

void TRytmeOps::StoreSetup(int exercise, setup::SetupRecord& setup) {
    if (exercise < 4 || exercise > 6) return;
    r::RhythmSetup block = setup.rhythmBlock(exercise);
    buttons_.dotted = CheckBox3->isChecked();
    r::StoreButtons(buttons_, block);
    block.bars = static_cast<std::uint8_t>(SpinEdit2->value());
    block.tempo = static_cast<std::uint8_t>(TrackBar1->value());
    block.rests = Pause3->isChecked() ? 1 : 0;
    if (exercise == 6) {
        block.errors = static_cast<std::uint8_t>(SpinEdit3->value());
        block.ties = 0;
    } else {
        block.ties = CheckBox1->isChecked() ? 1 : 0;
        for (std::size_t i = 0; i < strictness_.size(); ++i)
            if (strictness_[i]->isChecked()) block.strictness = static_cast<std::int16_t>(i);
        if (exercise == 4) block.showSecondTime = CheckBox6->isChecked() ? 1 : 0;
    }
    setup.setRhythmBlock(exercise, block);
}

void TRytmeOps::restore() {
    if (exercise_ >= 4 && exercise_ <= 6 && savedCopy_) LoadSetup(exercise_, savedCopy_());
}

}  // namespace kalvintor::ui::rhythm
