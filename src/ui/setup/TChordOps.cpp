// The pitch exercises' setup view: building the controls and filling them from the setup block.
#include "TChordOps.h"

#include "EntryPicture.h"
#include "Preview.h"
#include "TAkkProgEdit.h"
#include "TChordEdit.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "setup/EntryEditing.h"
#include "setup/SetupRecord.h"
#include "theory/Naming.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

using pitch::SetupBlock;
namespace bits = pitch::answer_bits;
namespace tonic = pitch::tonic_bits;

QCheckBox* check(QWidget* parent, const char* name, int id, const char* english) {
    auto* box = new QCheckBox(text(id, english), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

std::uint8_t flag(const QCheckBox* box) {
    return box->isChecked() ? 1 : 0;
}

// The root-movement list as the language file names it; blanks stay empty.
struct RootMovementText {
    int index;
    const char* english;
};
constexpr RootMovementText kRootMovements[] = {{0, "Random"},
                                               {2, "-- CYCLIC --"},
                                               {3, "Ascending 5th"},
                                               {4, "Descending 5th"},
                                               {5, "Ascending minor 3th"},
                                               {6, "Descending minor 3th"},
                                               {7, "Ascending 2nd"},
                                               {8, "Descending 2nd"},
                                               {10, "-- SAME TONE --"},
                                               {11, "C"},
                                               {12, "C#/Db"},
                                               {13, "D"},
                                               {14, "D#/Eb"},
                                               {15, "E"},
                                               {16, "F"},
                                               {17, "F#/Gb"},
                                               {18, "G"},
                                               {19, "G#/Ab"},
                                               {20, "A"},
                                               {21, "A#/Bb"},
                                               {22, "B"},
                                               {24, "-- SAME KEY --"},
                                               {25, "Gb/eb (6b)"},
                                               {26, "Db/bb (5b)"},
                                               {27, "Ab/f (4b)"},
                                               {28, "Eb/c (3b)"},
                                               {29, "Bb/g (2b)"},
                                               {30, "F/d (b)"},
                                               {31, "C/a"},
                                               {32, "G/e (#)"},
                                               {33, "D/b (2#)"},
                                               {34, "A/f# (3#)"},
                                               {35, "E/c# (4#)"},
                                               {36, "B/g# (5#)"}};
constexpr int kFirstRootMovementText = 7530;

// The two layouts: the client width below which the narrow one is used, the grid's smallest width
// and the option column's width (wider when its texts need it, in any language). The grid's
// smallest width stays the narrow one so that the view can always be made narrow again.
constexpr int kNarrowBelow = 701;
constexpr int kGridMinimum = 426;
constexpr int kNarrowOptions = 190;
constexpr int kWideOptions = 200;

}  // namespace

TChordOps::TChordOps(SetupViewHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    setObjectName(QStringLiteral("TChordOps"));
    buildControls();
}

TChordOps::~TChordOps() = default;

void TChordOps::buildControls() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(style::kGap, style::kGap, style::kGap, style::kGap);

    auto* left = new QVBoxLayout;
    DrawGrid1 = new QTableWidget(this);
    DrawGrid1->setObjectName(QStringLiteral("DrawGrid1"));
    DrawGrid1->setAccessibleName(text(7524, "Entries offered"));
    DrawGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DrawGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DrawGrid1->verticalHeader()->hide();
    DrawGrid1->setContextMenuPolicy(Qt::CustomContextMenu);
    DrawGrid1->setMinimumWidth(kGridMinimum);
    connect(DrawGrid1, &QTableWidget::cellClicked, this, [this](int r, int c) { cellClicked(r, c); });
    connect(DrawGrid1, &QTableWidget::cellActivated, this, [this](int r, int c) {
        if (const int e = entryAt(r, c)) ClickEntry(e, false);
    });
    DrawGrid1->installEventFilter(this);
    connect(DrawGrid1, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        const QModelIndex index = DrawGrid1->indexAt(p);
        if (const int e = index.isValid() ? entryAt(index.row(), index.column()) : 0) playEntryAt(e);
    });
    left->addWidget(DrawGrid1, 1);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* name, int id, const char* english) {
        auto* b = new QPushButton(text(id, english), this);
        b->setObjectName(QString::fromLatin1(name));
        buttons->addWidget(b);
        return b;
    };
    CompactButton = button("CompactButton", 7511, "Compact view");
    CompactButton->setCheckable(true);
    AddButton = button("AddButton", 7512, "+ Add new");
    SelectAllButton = button("SelectAllButton", 7513, "Select all");
    DeselectAllButton = button("DeselectAllButton", 7514, "Deselect all");
    RestoreButton = button("RestoreButton", 7515, "Restore");
    RestoreButton->setToolTip(text(394, "Restore to previous settings"));
    connect(CompactButton, &QPushButton::toggled, this, [this](bool on) { setCompactView(on); });
    connect(AddButton, &QPushButton::clicked, this, [this] { AddNew(); });
    connect(SelectAllButton, &QPushButton::clicked, this, [this] { SelectAll(); });
    connect(DeselectAllButton, &QPushButton::clicked, this, [this] { DeselectAll(); });
    connect(RestoreButton, &QPushButton::clicked, this, [this] { Restore(); });
    left->addLayout(buttons);

    rootGroup_ = new QGroupBox(text(7508, "Root movement"), this);
    auto* rootLayout = new QHBoxLayout(rootGroup_);
    RootMovementList = new QListWidget(rootGroup_);
    RootMovementList->setObjectName(QStringLiteral("RootMovementList"));
    RootMovementList->setAccessibleName(text(7508, "Root movement"));
    RootMovementList->setMaximumHeight(110);
    connect(RootMovementList, &QListWidget::currentRowChanged, this,
            [this](int row) { rootMovementChosen(row); });
    rootLayout->addWidget(RootMovementList, 1);
    auto* rangeBox = new QVBoxLayout;
    Picker = new RangePicker(rootGroup_);
    Picker->setAccessibleName(text(7519, "Pitch range"));
    rangeBox->addWidget(Picker);
    rangeBox->addStretch(1);
    rootLayout->addLayout(rangeBox);
    left->addWidget(rootGroup_);
    outer->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    right->setContentsMargins(0, 0, 0, 0);
    auto* play = new QGroupBox(text(7525, "Play"), this);
    auto* playLayout = new QVBoxLayout(play);
    Akk_SimulCheck = check(play, "Akk_SimulCheck", 7500, "Simultanious");
    Akk_OpCheck = check(play, "Akk_OpCheck", 7501, "Arp. up");
    Akk_NedCheck = check(play, "Akk_NedCheck", 7502, "Arp. down");
    for (auto* b : {Akk_SimulCheck, Akk_OpCheck, Akk_NedCheck}) playLayout->addWidget(b);
    right->addWidget(play);

    auto* options = new QGroupBox(text(7526, "Options"), this);
    auto* optionLayout = new QVBoxLayout(options);
    KeySigCheck = check(options, "KeySigCheck", 365, "Show key signature");
    CommonToneCheck = check(options, "CommonToneCheck", 7516, "Commontone");
    AnswerInCCheck = check(options, "AnswerInCCheck", 7503, "Answer in C");
    AnswerInCCheck->hide();
    PlayToneCheck = check(options, "PlayToneCheck", 380, "Play tone on click");
    FirstToneCheck = check(options, "FirstToneCheck", 386, "Show first tone");
    AutoAnswerCheck = check(options, "AutoAnswerCheck", 384, "AutoAnswer");
    OptionCheck = check(options, "OptionCheck", 7509, "Diatonic roots");
    InversionList = new QComboBox(options);
    InversionList->setObjectName(QStringLiteral("InversionList"));
    InversionList->setAccessibleName(text(7520, "Inversions"));
    InversionList->addItems({text(7521, "All chords in root position"),
                             text(7522, "Last chord in root position"), text(7523, "Random inversions")});
    for (QWidget* w :
         std::initializer_list<QWidget*>{KeySigCheck, CommonToneCheck, PlayToneCheck, FirstToneCheck,
                                         AutoAnswerCheck, OptionCheck, InversionList})
        optionLayout->addWidget(w);
    right->addWidget(options);

    tonicGroup_ = new QGroupBox(text(7527, "Tonic"), this);
    auto* tonicLayout = new QVBoxLayout(tonicGroup_);
    TonicCheck = check(tonicGroup_, "TonicCheck", 7505, "Play tonic");
    BaseTonesRadio = new QRadioButton(text(1936, "Base tones"), tonicGroup_);
    BaseTonesRadio->setObjectName(QStringLiteral("BaseTonesRadio"));
    CadenceRadio = new QRadioButton(text(1937, "Cadence"), tonicGroup_);
    CadenceRadio->setObjectName(QStringLiteral("CadenceRadio"));
    for (QWidget* w : std::initializer_list<QWidget*>{TonicCheck, BaseTonesRadio, CadenceRadio})
        tonicLayout->addWidget(w);
    connect(TonicCheck, &QCheckBox::toggled, this, [this] { updateRules(); });
    right->addWidget(tonicGroup_);

    answerGroup_ = new QGroupBox(text(7528, "Answer"), this);
    auto* answerLayout = new QVBoxLayout(answerGroup_);
    LockCheck = check(answerGroup_, "LockCheck", 382, "Lock");
    ByNameCheck = check(answerGroup_, "ByNameCheck", 7504, "by Name");
    PianoCheck = check(answerGroup_, "PianoCheck", 255, "on Piano");
    GuitarCheck = check(answerGroup_, "GuitarCheck", 257, "on Guitar");
    NotesheetCheck = check(answerGroup_, "NotesheetCheck", 260, "on Notesheet");
    for (QWidget* w :
         std::initializer_list<QWidget*>{LockCheck, ByNameCheck, PianoCheck, GuitarCheck, NotesheetCheck})
        answerLayout->addWidget(w);
    connect(LockCheck, &QCheckBox::toggled, this, [this] { updateRules(); });
    right->addWidget(answerGroup_);
    right->addStretch(1);
    // The option column scrolls rather than squeezing its boxes on a low window.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("OptionPanel"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* column = new QWidget(scroll);
    column->setLayout(right);
    scroll->setWidget(column);
    optionsNeed_ = column->minimumSizeHint().width() + scroll->verticalScrollBar()->sizeHint().width();
    scroll->setFixedWidth(std::max(kNarrowOptions, optionsNeed_));
    outer->addWidget(scroll);
    optionPanel_ = scroll;

    fillRootMovementList();
    Picker->changed = [] {};
}

void TChordOps::fillRootMovementList() {
    RootMovementList->clear();
    for (int i = 0; i < setup::kRootMovementCount; ++i) RootMovementList->addItem(QString());
    for (const RootMovementText& t : kRootMovements) {
        QListWidgetItem* item = RootMovementList->item(t.index);
        item->setText(text(kFirstRootMovementText + t.index, t.english));
        if (!setup::isRootMovementChoice(t.index)) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
        }
    }
}

theory::TableKind TChordOps::kind() const {
    switch (exercise_) {
        case 2:
        case 3:
            return theory::TableKind::Intervals;
        case 7:
            return theory::TableKind::ChordInversions;
        case 8:
            return theory::TableKind::Scales;
        case 10:
            return theory::TableKind::Progressions;
        default:
            return theory::TableKind::ChordTypes;
    }
}

int TChordOps::shownEntries() const {
    return exercise_ == 2 || exercise_ == 3 ? theory::kOfferedIntervals : theory::kCatalogueEntries;
}

void TChordOps::showEvent(QShowEvent* event) {
    Picker->setPicture(setup::pickerPicture(host_.answerPicture()));
    fillGrid();
    QWidget::showEvent(event);
}

void TChordOps::resizeEvent(QResizeEvent* event) {
    const bool narrow = width() < kNarrowBelow;
    if (narrow != narrow_) {
        narrow_ = narrow;
        const int margin = narrow ? style::kGap : style::kMargin;
        layout()->setContentsMargins(margin, margin, margin, margin);
        optionPanel_->setFixedWidth(std::max(narrow ? kNarrowOptions : kWideOptions, optionsNeed_));
    }
    QWidget::resizeEvent(event);
}

void TChordOps::LoadSetup(int exercise, const setup::SetupRecord& setup) {
    if (setup::blockKind(exercise) != setup::BlockKind::Pitch) return;
    exercise_ = exercise;
    const SetupBlock block = setup.pitchBlock(exercise);
    filling_ = true;
    offered_ = block.entryEnabled;
    Akk_SimulCheck->setChecked(block.playTogether != 0);
    Akk_OpCheck->setChecked(block.arpeggioUp != 0);
    Akk_NedCheck->setChecked(block.arpeggioDown != 0);
    KeySigCheck->setChecked(block.showKeySignature != 0);
    CommonToneCheck->setChecked(block.showKeySignature != 0);
    AnswerInCCheck->setChecked(block.answerInC != 0);
    LockCheck->setChecked(block.answerModesLocked());
    ByNameCheck->setChecked((block.answerModes & bits::kByName) != 0);
    PianoCheck->setChecked((block.answerModes & bits::kPiano) != 0);
    GuitarCheck->setChecked((block.answerModes & bits::kGuitar) != 0);
    NotesheetCheck->setChecked((block.answerModes & bits::kNotesheet) != 0 || exercise == 10);
    PlayToneCheck->setChecked(block.playToneOnClick != 0);
    FirstToneCheck->setChecked(block.showFirstTone != 0);
    AutoAnswerCheck->setChecked(block.autoAnswer != 0);
    TonicCheck->setChecked(block.playTonic());
    (block.tonicStyle() == pitch::TonicStyle::Cadence ? CadenceRadio : BaseTonesRadio)->setChecked(true);
    const int movement =
        exercise == 3 || !setup::isRootMovementChoice(block.rootMovement) ? 0 : block.rootMovement;
    RootMovementList->setCurrentRow(movement);
    if (exercise == 10) {
        OptionCheck->setText(text(7510, "Add root bass"));
        OptionCheck->setChecked(block.addRootBass());
        InversionList->setCurrentIndex(static_cast<int>(block.inversionMode()));
    } else {
        OptionCheck->setText(text(7509, "Diatonic roots"));
        OptionCheck->setChecked(block.diatonicRoots());
    }
    Picker->setMinLimitDistance(setup::minLimitDistance(movement));
    Picker->setLimits({block.lowerLimit, block.upperLimit});
    Picker->setPicture(setup::pickerPicture(host_.answerPicture()));
    filling_ = false;

    const bool comparison = exercise == 3;
    OptionCheck->setVisible(exercise == 2 || exercise == 10);
    InversionList->setVisible(exercise == 10);
    CommonToneCheck->setVisible(comparison);
    KeySigCheck->setVisible(!comparison);
    KeySigCheck->setEnabled(exercise != 2 && exercise != 3);
    for (QWidget* w :
         std::initializer_list<QWidget*>{PlayToneCheck, FirstToneCheck, AutoAnswerCheck, tonicGroup_})
        w->setEnabled(!comparison);
    RootMovementList->setEnabled(!comparison);
    answerGroup_->setVisible(!comparison);
    AddButton->setEnabled(!comparison && host_.mayEditMaterial());
    fillGrid();
    updateRules();
}

void TChordOps::updateRules() {
    for (QCheckBox* b : {ByNameCheck, PianoCheck, GuitarCheck, NotesheetCheck})
        b->setEnabled(LockCheck->isChecked());
    if (exercise_ == 10) NotesheetCheck->setEnabled(false);
    BaseTonesRadio->setEnabled(TonicCheck->isChecked());
    CadenceRadio->setEnabled(TonicCheck->isChecked());
}

void TChordOps::rootMovementChosen(int row) {
    if (row < 0) return;
    const int settled = setup::settleRootMovement(row);
    if (settled != row) {
        RootMovementList->setCurrentRow(settled);
        return;
    }
    const int distance = setup::minLimitDistance(settled);
    Picker->setMinLimitDistance(distance);
    if (!filling_) Picker->setLimits(setup::keepDistance(Picker->limits(), distance));
}

void TChordOps::StoreSetup(int exercise, setup::SetupRecord& setup) {
    if (exercise != exercise_ || setup::blockKind(exercise) != setup::BlockKind::Pitch) return;
    SetupBlock block = setup.pitchBlock(exercise);
    setup::settleOfferedEntries(offered_, host_.editableCatalogue().table(kind()), shownEntries());
    block.entryEnabled = offered_;
    block.playTogether = flag(Akk_SimulCheck);
    block.arpeggioUp = flag(Akk_OpCheck);
    block.arpeggioDown = flag(Akk_NedCheck);
    const setup::PitchLimits limits = Picker->limits();
    block.lowerLimit = static_cast<std::uint8_t>(limits.lower);
    block.upperLimit = static_cast<std::uint8_t>(limits.upper);
    if (exercise == 3) {
        block.showKeySignature = flag(CommonToneCheck);
        block.rootMovement = 0;
    } else {
        block.showKeySignature = flag(KeySigCheck);
        block.answerInC = flag(AnswerInCCheck);
        block.answerModes =
            static_cast<std::uint8_t>(flag(ByNameCheck) + 2 * flag(PianoCheck) + 4 * flag(GuitarCheck) +
                                      8 * flag(NotesheetCheck) + 128 * flag(LockCheck));
        block.playToneOnClick = flag(PlayToneCheck);
        block.showFirstTone = flag(FirstToneCheck);
        block.autoAnswer = flag(AutoAnswerCheck);
        block.tonic =
            static_cast<std::uint8_t>(flag(TonicCheck) + 16 * (BaseTonesRadio->isChecked() ? 1 : 0) +
                                      32 * (CadenceRadio->isChecked() ? 1 : 0));
        block.rootMovement = setup::storedRootMovement(RootMovementList->currentRow());
        if (exercise == 2) block.option = flag(OptionCheck);
        if (exercise == 8) block.playTogether = 0;
        if (exercise == 10) {
            block.option = SetupBlock::progressionOption(
                static_cast<pitch::InversionMode>(InversionList->currentIndex()), OptionCheck->isChecked());
            block.answerModes |= bits::kNotesheet;
        }
    }
    setup.setPitchBlock(exercise, block);
    fillGrid();
}

void TChordOps::Restore() {
    setup::SetupRecord setup = host_.enteredSetup();
    LoadSetup(exercise_, setup);
}

void TChordOps::SelectAll() {
    const auto& table = host_.editableCatalogue().table(kind());
    for (int e = 1; e <= shownEntries(); ++e)
        offered_[static_cast<std::size_t>(e - 1)] = table.entry(e).count != 0 ? 1 : 0;
    fillGrid();
}

void TChordOps::DeselectAll() {
    offered_.fill(0);
    fillGrid();
}

void TChordOps::ClickEntry(int entry, bool onMark) {
    if (entry < 1 || entry > shownEntries()) return;
    const bool builtIn = entry < theory::FirstUserEntry(kind()) || exercise_ == 3;
    if (onMark || builtIn || !host_.mayEditMaterial()) {
        std::uint8_t& f = offered_[static_cast<std::size_t>(entry - 1)];
        f = f != 0 ? 0 : 1;
        fillGrid();
        return;
    }
    openEditor(entry);
}

void TChordOps::AddNew() {
    if (exercise_ == 3 || !host_.mayEditMaterial()) return;
    const int free =
        setup::FirstFreeUserEntry(host_.editableCatalogue().table(kind()), kind(), shownEntries());
    if (free != 0) openEditor(free);
}

TChordEdit* TChordOps::chordEditor() {
    if (chordEdit_ == nullptr) {
        chordEdit_ = new TChordEdit(host_, this);
        progEdit_ = new TAkkProgEdit(host_, this);
    }
    return chordEdit_;
}

TAkkProgEdit* TChordOps::progressionEditor() {
    chordEditor();
    return progEdit_;
}

void TChordOps::openEditor(int entry) {
    theory::ChordCatalogue& catalogue = host_.editableCatalogue();
    theory::CatalogueEntry& stored = catalogue.table(kind()).entry(entry);
    bool accepted = false;
    if (exercise_ == 10) {
        accepted = progressionEditor()->edit(stored);
    } else {
        accepted = chordEditor()->edit(stored, exercise_);
    }
    if (!accepted) return;
    if (stored.count != 0) offered_[static_cast<std::size_t>(entry - 1)] = 1;
    host_.catalogueEdited();
    fillGrid();
}

void TChordOps::playEntryAt(int entry) {
    const theory::ChordCatalogue& catalogue = host_.editableCatalogue();
    const bool guitar = host_.answerPicture() == 4;
    if (exercise_ == 10) {
        playProgression(host_.previewOut(), catalogue.progressions().entry(entry), catalogue.chordTypes(),
                        guitar);
        return;
    }
    const bool together = exercise_ == 1 || exercise_ == 7;
    playEntry(host_.previewOut(), catalogue.table(kind()).entry(entry),
              together ? PreviewStyle::Together : PreviewStyle::Upward, guitar);
}

}  // namespace kalvintor::ui
