// The chord-type editor.
#include "TChordEdit.h"

#include "EditorButtons.h"
#include "Preview.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "notation/TSheet.h"
#include "pitch/TGuitar.h"
#include "setup/EntryEditing.h"
#include "sound/TMidiOut.h"
#include "theory/Guitar.h"
#include "theory/Spelling.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace kalvintor::ui {

namespace {

constexpr int kInversionTexts = 1510;
constexpr const char* kInversionNames[] = {"Root position", "1. inversion", "2. inversion",
                                           "3. inversion",  "4. inversion", "5. inversion"};
constexpr int kMaxInversionItems = 6;

QString inversionName(int i) {
    return text(kInversionTexts + i, kInversionNames[i]);
}

constexpr int kPianoPicture = 2;
constexpr int kGuitarPicture = 4;
constexpr int kStaffPicture = 8;
constexpr int kPictureHeight = 172;
// The staff takes pitches from this one up; the entry keeps 53..84.
constexpr int kStaffLowest = 41;

}  // namespace

TChordEdit::TChordEdit(SetupViewHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("TChordEdit"));
    setWindowTitle(text(7570, "Chord type"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    auto* nameRow = new QHBoxLayout;
    auto* nameLabel = new QLabel(text(7517, "Name"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(static_cast<int>(theory::kEntryNameRoom));
    Edit1->setAccessibleName(text(7517, "Name"));
    nameLabel->setBuddy(Edit1);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(Edit1, 1);
    layout->addLayout(nameRow);

    InversionLabel = new QLabel(text(7518, "Structure in C/am"), this);
    layout->addWidget(InversionLabel);
    Keyboard = new EditKeyboard(this);
    Keyboard->setAccessibleName(text(7518, "Structure in C/am"));
    Keyboard->setEntry(&entry_);
    Keyboard->noteChosen = [this](int pitch, bool remove) { keyChosen(pitch, remove); };
    Keyboard->notePressed = [this](int pitch) { sound(pitch); };
    layout->addWidget(Keyboard);

    // The staff: notes are added or deleted with its two tools (a right click switches them).
    auto* tools = new QHBoxLayout;
    AddNotesButton = new QToolButton(this);
    AddNotesButton->setObjectName(QStringLiteral("AddNotesButton"));
    AddNotesButton->setText(text(8301, "Add notes"));
    DeleteNotesButton = new QToolButton(this);
    DeleteNotesButton->setObjectName(QStringLiteral("DeleteNotesButton"));
    DeleteNotesButton->setText(text(8302, "Delete notes"));
    for (QToolButton* b : {AddNotesButton, DeleteNotesButton}) {
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        tools->addWidget(b);
    }
    tools->addStretch(1);
    layout->addLayout(tools);
    Sheet = new TSheet(this);
    Sheet->setObjectName(QStringLiteral("Sheet"));
    Sheet->setAccessibleName(text(7518, "Structure in C/am"));
    Sheet->setFixedHeight(kPictureHeight);
    Sheet->lowestPitch = kStaffLowest;
    Sheet->highestPitch = setup::kEditHighest;
    connect(AddNotesButton, &QToolButton::clicked, this, [this] { Sheet->setTool(TSheet::Tool::Add); });
    connect(DeleteNotesButton, &QToolButton::clicked, this, [this] { Sheet->setTool(TSheet::Tool::Delete); });
    connect(Sheet, &TSheet::toolChanged, this, [this](TSheet::Tool tool) {
        (tool == TSheet::Tool::Add ? AddNotesButton : DeleteNotesButton)->setChecked(true);
        Sheet->setCursor(tool == TSheet::Tool::Add ? Qt::CrossCursor : Qt::ForbiddenCursor);
    });
    // The held note is drawn where it would go and sounds with every change.
    for (auto signal : {&TSheet::notePressed, &TSheet::noteChanged})
        connect(Sheet, signal, this, [this](const pitch::QuestionNote& n) {
            hold(n.pitch, n.spellOffset, 0);
            sound(n.pitch);
        });
    connect(Sheet, &TSheet::noteReleased, this, [this](const pitch::QuestionNote& n) {
        hold(0, 0, 0);
        noteChosen({static_cast<std::uint8_t>(n.pitch), static_cast<std::int8_t>(n.spellOffset), 0, 0}, false,
                   std::exchange(insertAt_, 0));
    });
    Sheet->installEventFilter(this);
    connect(Sheet, &TSheet::deleteRequested, this, [this](int index) {
        if (index < 0 || index >= entry_.noteCount()) return;
        EditNote(entry_.notes[static_cast<std::size_t>(index)], true, index + 1);
    });
    layout->addWidget(Sheet);

    // The guitar: a press sounds the string's note, the release enters it on that string.
    Guitar = new TGuitar(this);
    Guitar->setObjectName(QStringLiteral("Guitar"));
    Guitar->setAccessibleName(text(7518, "Structure in C/am"));
    Guitar->setFixedHeight(kPictureHeight - 5);
    connect(Guitar, &TGuitar::pressed, this, [this](int pitch, int string) {
        hold(pitch, theory::DefaultSpelling(pitch, 0), string);
        sound(pitch);
    });
    connect(Guitar, &TGuitar::released, this, [this](int pitch, bool remove) {
        theory::CatalogueNote note{
            static_cast<std::uint8_t>(pitch), static_cast<std::int8_t>(theory::DefaultSpelling(pitch, 0)), 0,
            static_cast<std::uint8_t>(pitch == held_.shownPitch ? held_.guitarString : 0)};
        hold(0, 0, 0);
        noteChosen(note, remove);
    });
    layout->addWidget(Guitar);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(text(7570, "Chord type"));
    connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this] { inversionChanged(true); });
    layout->addWidget(ComboBox1);
    RadioGroup1 = new QGroupBox(text(1502, "Inversion"), this);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* radios = new QVBoxLayout(RadioGroup1);
    inversions_ = new QButtonGroup(this);
    for (int i = 0; i < kMaxInversionItems; ++i) {
        auto* b = new QRadioButton(inversionName(i), RadioGroup1);
        b->setObjectName(QStringLiteral("Inversion%1").arg(i));
        inversions_->addButton(b, i);
        radios->addWidget(b);
        inversionButtons_.push_back(b);
    }
    connect(inversions_, &QButtonGroup::idClicked, this, [this] { inversionChanged(false); });
    layout->addWidget(RadioGroup1);

    NotesLabel = new QLabel(this);
    NotesLabel->setObjectName(QStringLiteral("NotesLabel"));
    layout->addWidget(NotesLabel);
    ProblemLabel = new QLabel(this);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setStyleSheet(QStringLiteral("color: %1").arg(style::kWrong.name()));
    ProblemLabel->setWordWrap(true);
    layout->addWidget(ProblemLabel);

    const EditorButtons buttons = addEditorButtons(this, layout);
    SpeedButton1 = buttons.play;
    OkButton = buttons.ok;
    CancelButton = buttons.cancel;
    connect(SpeedButton1, &QPushButton::clicked, this, [this] {
        playEntry(host_.previewOut(), entry_,
                  exercise_ == 2 || exercise_ == 8 ? PreviewStyle::Upward : PreviewStyle::Together,
                  host_.answerPicture() == 4);
    });
}

void TChordEdit::begin(const theory::CatalogueEntry& stored, int exercise) {
    exercise_ = exercise;
    instrument_ = host_.answerPicture() == kPianoPicture || host_.answerPicture() == kGuitarPicture
                      ? host_.answerPicture()
                      : kStaffPicture;
    // Scales stand in sequence on the staff; everything else is stacked as one chord.
    Sheet->chordLike = exercise != 8;
    Sheet->setTool(TSheet::Tool::Add);
    AddNotesButton->setChecked(true);
    heldKeys_ = 0;
    Edit1->setText(QString::fromStdString(stored.name));
    ProblemLabel->clear();
    ClearEntry();
    entry_.name = stored.name;
    // Notes outside the keyboard's range are left out; OK keeps only those shown.
    for (int i = 0; i < stored.noteCount(); ++i) {
        theory::CatalogueNote note = stored.notes[static_cast<std::size_t>(i)];
        theory::AssignGuitarString(note, 0);
        EditNote(note, false, -1);
    }
    SetInversionMode(exercise == 7);
    if (inversionMode_ && stored.count != 0) {
        // The stored chord type and inversion choose the list items.
        const int type = stored.notes[0].extra + 1;
        const auto at = std::find(inversionTypes_.begin(), inversionTypes_.end(), type);
        ComboBox1->setCurrentIndex(
            at == inversionTypes_.end() ? 0 : static_cast<int>(at - inversionTypes_.begin()));
        if (QAbstractButton* b = inversions_->button(stored.notes[1].extra)) b->setChecked(true);
        inversionChanged(false);
    }
    showNotes();
}

bool TChordEdit::edit(theory::CatalogueEntry& stored, int exercise) {
    begin(stored, exercise);
    host_.routeEditorMidi([this](std::uint32_t message) { MidiInput(message); });
    const bool accepted = exec() == QDialog::Accepted;
    host_.routeEditorMidi({});
    if (!accepted) return false;
    const std::string name = entry_.name;
    stored = entry_;
    stored.name = name;
    return true;
}

void TChordEdit::ClearEntry() {
    entry_.count = 0;
    entry_.notes = {};
    showNotes();
}

bool TChordEdit::EditNote(theory::CatalogueNote note, bool remove, int position) {
    const bool done = remove
                          ? setup::RemoveEntryNote(entry_, note.pitch, position)
                          : setup::InsertEntryNote(entry_, note, position, exercise_ == 8 || exercise_ == 9);
    if (done) {
        ProblemLabel->clear();
        showNotes();
    }
    return done;
}

void TChordEdit::keyChosen(int pitch, bool remove) {
    noteChosen(
        {static_cast<std::uint8_t>(pitch), static_cast<std::int8_t>(theory::DefaultSpelling(pitch, 0)), 0, 0},
        remove);
}

void TChordEdit::noteChosen(theory::CatalogueNote note, bool remove, int position) {
    if (inversionMode_) return;
    theory::AssignGuitarString(note, 0);
    EditNote(note, remove, position);
}

bool TChordEdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Sheet && event->type() == QEvent::MouseButtonPress && !Sheet->chordLike) {
        const int x = static_cast<QMouseEvent*>(event)->position().toPoint().x();
        const auto& columns = Sheet->picture().columnX;
        insertAt_ = 1;
        for (int i = 0; i < entry_.noteCount() && i < static_cast<int>(columns.size()); ++i) {
            const int column = columns[static_cast<std::size_t>(i)];
            if (column >= 0 && column < x) ++insertAt_;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TChordEdit::hold(int pitch, int spellOffset, int string) {
    const QString name = pitch > 0 ? QString::fromStdString(theory::NoteName(pitch, spellOffset)) : QString();
    held_ = {pitch, string, name};
    pitch::QuestionNote note;
    note.pitch = pitch;
    note.spellOffset = spellOffset;
    Sheet->DrawHeldNote(note, name);
    showNotes();
}

void TChordEdit::sound(int pitch) {
    if (pitch < setup::kEditLowest || pitch > setup::kEditHighest) return;
    theory::CatalogueEntry one;
    one.count = 1;
    one.notes[0].pitch = static_cast<std::uint8_t>(pitch);
    playEntry(host_.previewOut(), one, PreviewStyle::Together, instrument_ == kGuitarPicture);
}

void TChordEdit::showPicture() {
    const bool entering = !inversionMode_;
    Keyboard->setVisible(instrument_ == kPianoPicture);
    Guitar->setVisible(instrument_ == kGuitarPicture);
    Sheet->setVisible(instrument_ == kStaffPicture);
    for (QToolButton* b : {AddNotesButton, DeleteNotesButton})
        b->setVisible(instrument_ == kStaffPicture && entering);
    for (QWidget* w : std::initializer_list<QWidget*>{Keyboard, Guitar, Sheet}) w->setEnabled(entering);
}

void TChordEdit::MidiInput(std::uint32_t message) {
    const int status = static_cast<int>(message & 0xF0);
    const int key = static_cast<int>((message >> 8) & 0x7F);
    const int velocity = static_cast<int>((message >> 16) & 0x7F);
    if (status == 0x90 && velocity > 0) {
        if (key < setup::kEditLowest || key > setup::kEditHighest) return;
        // The first key of a chord cuts off a preview still sounding.
        if (heldKeys_ == 0 && Sheet->chordLike)
            if (sound::TMidiOut* out = host_.previewOut()) out->Stop();
        ++heldKeys_;
        keyChosen(key, false);
    } else if (status == 0x80 || status == 0x90) {
        heldKeys_ = std::max(heldKeys_ - 1, 0);
    }
}

void TChordEdit::SetInversionMode(bool on) {
    inversionMode_ = on;
    showPicture();
    Edit1->setVisible(!on);
    ComboBox1->setVisible(on);
    RadioGroup1->setVisible(on);
    if (!on) return;
    const theory::ChordCatalogue& catalogue = host_.editableCatalogue();
    inversionTypes_ = setup::EligibleInversionTypes(catalogue);
    const QSignalBlocker block(ComboBox1);
    ComboBox1->clear();
    for (int type : inversionTypes_)
        ComboBox1->addItem(QString::fromStdString(catalogue.chordTypes().entry(type).name));
    ComboBox1->setCurrentIndex(0);
    inversionChanged(true);
}

void TChordEdit::inversionChanged(bool typeChanged) {
    if (!inversionMode_ || ComboBox1->currentIndex() < 0) return;
    const theory::ChordCatalogue& catalogue = host_.editableCatalogue();
    const int type = inversionTypes_[static_cast<std::size_t>(ComboBox1->currentIndex())];
    const int choices = setup::InversionChoices(catalogue.chordTypes().entry(type));
    if (typeChanged) {
        for (int i = 0; i < kMaxInversionItems; ++i)
            inversionButtons_[static_cast<std::size_t>(i)]->setVisible(i < choices);
        if (inversions_->checkedId() < 0 || inversions_->checkedId() >= choices)
            inversionButtons_[0]->setChecked(true);
    }
    const int inversion = std::max(inversions_->checkedId(), 0);
    entry_ = setup::InversionEntry(catalogue, type, inversion, inversionName(inversion).toStdString());
    Edit1->setText(QString::fromStdString(entry_.name));
    showNotes();
}

void TChordEdit::showNotes() {
    QStringList names;
    for (int i = 0; i < entry_.noteCount(); ++i) {
        const theory::CatalogueNote& n = entry_.notes[static_cast<std::size_t>(i)];
        names << QString::fromStdString(theory::NoteName(n.pitch, n.spellOffset));
    }
    NotesLabel->setText(names.join(QStringLiteral("  ")));
    Keyboard->update();
    std::vector<kalvintor::notation::StaffNoteInput> staff;
    std::vector<InstrumentMark> marks;
    for (int i = 0; i < entry_.noteCount(); ++i) {
        const theory::CatalogueNote& n = entry_.notes[static_cast<std::size_t>(i)];
        pitch::QuestionNote note;
        note.pitch = n.pitch;
        note.spellOffset = n.spellOffset;
        note.guitarString = n.guitarString;
        staff.push_back({note, kalvintor::notation::Ink::Pending});
        marks.push_back({n.pitch, n.guitarString & 0x0F, kalvintor::notation::Ink::Pending});
    }
    Sheet->StaffLayout(setup::kEditHighest, false);
    Sheet->DrawStaff(std::move(staff));
    Guitar->setMarks(std::move(marks), held_);
}

bool TChordEdit::check() {
    entry_.name = Edit1->text().trimmed().toStdString();
    const setup::EntryProblem problem = setup::CheckNoteEntry(entry_, entry_.name);
    switch (problem) {
        case setup::EntryProblem::None:
            return true;
        case setup::EntryProblem::NoNotes:
            ProblemLabel->setText(text(7574, "Enter at least one note on the keyboard."));
            break;
        case setup::EntryProblem::DuplicateNotes:
            ProblemLabel->setText(text(7575, "A note may be entered only once."));
            break;
        case setup::EntryProblem::NotesOutOfRange:
            ProblemLabel->setText(
                text(7576, "Notes must lie between F below middle C and the C two octaves above it."));
            break;
        default:
            ProblemLabel->setText(text(7577, "The name may be at most 50 characters long."));
            break;
    }
    return false;
}

void TChordEdit::accept() {
    if (!check()) return;
    if (!inversionMode_ && entry_.name.empty()) entry_.name = NotesLabel->text().toStdString();
    QDialog::accept();
}

}  // namespace kalvintor::ui
