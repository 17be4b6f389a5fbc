// The pitch exercise window: building its panels, applying the setup, asking and playing a
// question, judging the answer and the feedback after it.
#include "pitch/TAkkord.h"

#include "app/ExerciseHost.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/TControlButton.h"
#include "app/Texts.h"
#include "exercises/pitch/Generation.h"
#include "exercises/pitch/PlayQuestion.h"
#include "notation/TSheet.h"
#include "pitch/MicMeter.h"
#include "pitch/NameButtons.h"
#include "pitch/PianoSoundControls.h"
#include "pitch/PlayStyleIndicators.h"
#include "pitch/TGuitar.h"
#include "pitch/TPiano.h"
#include "pitch/TickIcon.h"
#include "settings/SettingRecord.h"
#include "setup/SetupRecord.h"
#include "theory/Naming.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace kalvintor::ui {

using pitch::ExerciseMode;
using pitch::PlayKind;

namespace {

constexpr int kTextNewQuestion = 205;
constexpr int kTextRepeat = 210;
constexpr int kTextPlayAnswer = 207;
constexpr int kTextCheck = 265;
constexpr int kTextStop = 805;
constexpr int kTextScore = 220;
constexpr int kTextProgressionScore = 1805;
constexpr int kTextArpeggioFirstTone = 212;
constexpr int kTextTogetherFirstTone = 213;
constexpr int kTextNothingToAsk = 7300;
constexpr int kBlinkMs = 200;
constexpr int kBlinkToggles = 4;

enum Button { kNew = 0, kRepeat = 1, kAnswer = 2, kCheck = 3, kStop = 4 };

const char* promptText(ExerciseMode mode) {
    switch (mode) {
        case ExerciseMode::Chord:
            return "Which chord was played?";
        case ExerciseMode::Inversion:
            return "Which inversion was played?";
        case ExerciseMode::Interval:
            return "Which interval was played?";
        case ExerciseMode::Scale:
            return "Which scale was played?";
        case ExerciseMode::Melody:
            return "Write down the melody";
        case ExerciseMode::Progression:
            return "Which chord progression was played?";
    }
    return "";
}

struct InputChoice {
    std::uint8_t bit;
    int textId;
    const char* designTime;
    const char* objectName;
};
constexpr InputChoice kInputs[] = {{pitch::answer_bits::kByName, 250, "Answer by name", "InputNames"},
                                   {pitch::answer_bits::kPiano, 255, "Piano", "InputPiano"},
                                   {pitch::answer_bits::kGuitar, 257, "Guitar", "InputGuitar"},
                                   {pitch::answer_bits::kNotesheet, 260, "Notesheet", "InputNotesheet"}};

}  // namespace

ExerciseMode TAkkord::ModeOf(int exercise) {
    switch (exercise) {
        case 2:
            return ExerciseMode::Interval;
        case 7:
            return ExerciseMode::Inversion;
        case 8:
            return ExerciseMode::Scale;
        case 9:
            return ExerciseMode::Melody;
        case 10:
            return ExerciseMode::Progression;
        default:
            return ExerciseMode::Chord;
    }
}

TAkkord::TAkkord(int exercise, ExerciseHost& host, QWidget* parent)
    : TExerciseBaseClass(exercise, host, parent),
      label_(new QLabel(this)),
      tick_(new TickIcon(this)),
      inputBar_(new QWidget(this)),
      names_(new NameButtons(this)),
      chordTypes_(new QWidget(this)),
      noteTools_(new QWidget(this)),
      styles_(new PlayStyleIndicators(this)),
      pianoPanel_(new QWidget(this)),
      pianoSound_(new PianoSoundControls(pianoPanel_)),
      piano_(new TPiano(pianoPanel_)),
      guitar_(new TGuitar(this)),
      sheet_(new TSheet(this)),
      meter_(new MicMeter([&host] { return host.microphoneReading(); }, this)) {
    state_.mode = ModeOf(exercise);
    setObjectName(QStringLiteral("Akkord%1").arg(exercise));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, style::colourFromSetting(host.settings().colour));
    setPalette(palette);

    label_->setObjectName(QStringLiteral("Label1"));
    label_->setFont(style::uiFont(13, QFont::Bold));
    label_->setStyleSheet(QStringLiteral("color: %1;").arg(style::kInk.name()));
    label_->setWordWrap(true);
    label_->setMinimumHeight(tick_->sizeHint().height());
    tick_->setObjectName(QStringLiteral("Image1"));
    tick_->hide();
    meter_->hide();
    styles_->hide();

    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel3"));
    auto* stripLayout = new QHBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    ControlButton->setFixedSize(ControlButton->minimumSize());
    stripLayout->addWidget(ControlButton, 0, Qt::AlignCenter);

    // The answer instruments the student can switch on and off here.
    inputBar_->setObjectName(QStringLiteral("AnswerInput"));
    auto* inputLayout = new QHBoxLayout(inputBar_);
    inputLayout->setContentsMargins(0, 0, 0, 0);
    inputLayout->addStretch(1);
    for (const InputChoice& c : kInputs) {
        auto* b = new QToolButton(inputBar_);
        b->setObjectName(QString::fromLatin1(c.objectName));
        b->setCheckable(true);
        b->setFont(style::uiFont(9));
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        bindCaption(b, c.textId);
        if (b->text().isEmpty()) b->setText(text(c.textId, c.designTime));
        const std::uint8_t bit = c.bit;
        connect(b, &QToolButton::clicked, this, [this, bit](bool on) {
            panelsChosen_ = true;
            ShowAnswerPanels(static_cast<std::uint8_t>(on ? panels_ | bit : panels_ & ~bit));
        });
        inputLayout->addWidget(b);
        inputButtons_.push_back(b);
    }

    auto* feedback = new QHBoxLayout;
    feedback->setSpacing(style::kGap);
    feedback->addWidget(tick_, 0, Qt::AlignVCenter);
    feedback->addWidget(label_, 1, Qt::AlignVCenter);
    feedback->addWidget(noteTools_, 0, Qt::AlignTop);
    feedback->addWidget(styles_, 0, Qt::AlignTop);
    feedback->addWidget(inputBar_, 0, Qt::AlignTop);

    buildChordTypeBar();
    buildNoteValueTools();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(style::kMargin * 2, style::kMargin, style::kMargin * 2, style::kMargin);
    layout->setSpacing(style::kMargin);
    layout->addWidget(strip);
    layout->addLayout(feedback);
    layout->addWidget(meter_);
    layout->addWidget(names_);
    layout->addWidget(chordTypes_);
    layout->addWidget(sheet_, 3);
    layout->addWidget(guitar_, 2);
    // The piano panel: its sound controls above the keys.
    pianoPanel_->setObjectName(QStringLiteral("PianoPanel"));
    auto* pianoLayout = new QVBoxLayout(pianoPanel_);
    pianoLayout->setContentsMargins(0, 0, 0, 0);
    pianoLayout->setSpacing(2);
    pianoLayout->addWidget(pianoSound_);
    pianoLayout->addWidget(piano_);
    layout->addWidget(pianoPanel_, 0, Qt::AlignHCenter);
    layout->addStretch(0);

    const std::pair<int, const char*> captions[] = {{kTextNewQuestion, "New question"},
                                                    {kTextRepeat, "Repeat"},
                                                    {kTextPlayAnswer, "Answer"},
                                                    {kTextCheck, "Correct answer"},
                                                    {kTextStop, "Stop"}};
    for (int i = 0; i < TControlButton::kButtons; ++i) {
        const auto [id, designTime] = captions[i];
        ControlButton->setCaption(i, text(id, designTime));
        bindText(this, id, [this, i](const QString& t) { ControlButton->setCaption(i, t); });
    }
    // The catalogue's names follow the language: re-caption the buttons after every load.
    observeLanguage(this, {}, [this] {
        const auto& table = this->host().catalogue().table(pitch::TableOf(state_.mode));
        for (int e : state_.enabledList) {
            auto& row = state_.row(e);
            row.name = state_.mode == ExerciseMode::Progression ? theory::ProgressionName(table.entry(e))
                                                                : table.entry(e).name;
            if (NameButton* b = names_->button(e)) {
                b->setText(QString::fromStdString(row.name));
                b->setAccessibleName(b->text());
            }
        }
    });

    connect(names_, &NameButtons::chosen, this,
            [this](int entry, bool commit) { PreviewAnswer(entry, commit); });
    connect(pianoSound_, &PianoSoundControls::programStepped, this,
            [this](int steps) { stepPianoVoice(steps, 0); });
    connect(pianoSound_, &PianoSoundControls::velocityStepped, this,
            [this](int steps) { stepPianoVoice(0, steps); });
    pianoSound_->showVoice(host.settings().pianoVoice);
    connect(piano_, &TPiano::pressed, this,
            [this](int shown) { instrumentPressed(shown, 0, pitch::NoteSource::Piano); });
    connect(piano_, &TPiano::released, this,
            [this](int shown, bool remove) { instrumentReleased(shown, remove); });
    connect(guitar_, &TGuitar::pressed, this,
            [this](int shown, int string) { instrumentPressed(shown, string, pitch::NoteSource::Guitar); });
    connect(guitar_, &TGuitar::released, this,
            [this](int shown, bool remove) { instrumentReleased(shown, remove); });
    connect(sheet_, &TSheet::notePressed, this,
            [this](const pitch::QuestionNote& note) { hold(note, pitch::NoteSource::Notesheet, true); });
    connect(sheet_, &TSheet::noteChanged, this,
            [this](const pitch::QuestionNote& note) { hold(note, pitch::NoteSource::Notesheet, true); });
    connect(sheet_, &TSheet::noteReleased, this, [this](const pitch::QuestionNote& note) {
        releaseHeld();
        if (state_.mode == ExerciseMode::Progression) {
            if (!state_.answered)
                afterChordChange(
                    pitch::SetAnswerChordRoot(state_, note.pitch, false, this->host().catalogue()));
            return;
        }
        enterNote(note, false, 0);
    });
    connect(sheet_, &TSheet::deleteRequested, this, [this](int index) {
        if (state_.answered || static_cast<std::size_t>(index) >= state_.answer.notes.size()) return;
        enterNote(state_.answer.notes[static_cast<std::size_t>(index)], true, index + 1);
    });
    connect(sheet_, &TSheet::clefClicked, this, [this] {
        if (state_.options.playTonic && hasQuestion_) play(static_cast<int>(PlayKind::TonicOnly));
    });

    ApplySetup(true);
}

QPushButton* TAkkord::chordTypeButton(int symbolIndex) const {
    if (symbolIndex < 0 || static_cast<std::size_t>(symbolIndex) >= chordTypeButtons_.size()) return nullptr;
    return chordTypeButtons_[static_cast<std::size_t>(symbolIndex)];
}

void TAkkord::buildChordTypeBar() {
    chordTypes_->setObjectName(QStringLiteral("ChordTypeBar"));
    auto* bar = new QHBoxLayout(chordTypes_);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(2);
    chordTypes_->hide();
    if (state_.mode != ExerciseMode::Progression) return;
    for (int k = 0; k < theory::kChordSymbolCount; ++k) {
        auto* b = new QPushButton(chordTypes_);
        b->setObjectName(QStringLiteral("ChordType%1").arg(k));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setFont(style::uiFont(9));
        const QString caption = QString::fromStdString(theory::ChordTypeButtonCaption(k, host().catalogue()));
        b->setText(caption.isEmpty() ? QStringLiteral("maj") : caption);
        b->setAccessibleName(b->text());
        const int type = theory::ProgressionChordTypes[static_cast<std::size_t>(k)];
        connect(b, &QPushButton::clicked, this, [this, type] {
            if (state_.answered) return;
            afterChordChange(pitch::SetAnswerChordType(state_, type, host().catalogue()));
        });
        bar->addWidget(b);
        chordTypeButtons_.push_back(b);
    }
    bar->addStretch(1);
}

QToolButton* TAkkord::noteValueButton(std::uint8_t noteValue) const {
    for (QToolButton* b : noteValueButtons_)
        if (b->property("noteValue").toInt() == noteValue) return b;
    return nullptr;
}

void TAkkord::buildNoteValueTools() {
    noteTools_->setObjectName(QStringLiteral("NoteValues"));
    auto* row = new QHBoxLayout(noteTools_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    noteTools_->hide();
    if (state_.mode != ExerciseMode::Melody) return;
    struct Tool {
        std::uint8_t value;
        char32_t glyph;
        int textId;
        const char* designTime;
        const char* objectName;
    };
    const Tool tools[] = {
        {pitch::kWholeNote, ui::style::kGlyphWholeNote, 7310, "Whole note", "NoteWhole"},
        {pitch::kHalfNote, ui::style::kGlyphHalfNoteUp, 7311, "Half note", "NoteHalf"},
        {pitch::kQuarterNote, ui::style::kGlyphQuarterNoteUp, 7312, "Quarter note", "NoteQuarter"}};
    for (const Tool& t : tools) {
        auto* b = new QToolButton(noteTools_);
        b->setObjectName(QString::fromLatin1(t.objectName));
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setFont(ui::style::musicFont(22));
        b->setText(ui::style::glyph(t.glyph));
        b->setFixedSize(30, 34);
        b->setProperty("noteValue", t.value);
        b->setAccessibleName(text(t.textId, t.designTime));
        b->setToolTip(b->accessibleName());
        b->setChecked(t.value == noteValue_);
        const std::uint8_t value = t.value;
        connect(b, &QToolButton::clicked, this, [this, value] { noteValue_ = value; });
        row->addWidget(b);
        noteValueButtons_.push_back(b);
    }
}

void TAkkord::updateNoteValueTools() {
    const bool shown = state_.mode == ExerciseMode::Melody && state_.options.rhythm;
    noteTools_->setVisible(shown);
    if (!shown) return;
    // A whole note only starts a bar; a half note fits in its first half only.
    const auto allowed = pitch::AllowedNoteValues(state_);
    if (QToolButton* b = noteValueButton(pitch::kWholeNote)) b->setEnabled(allowed.whole);
    if (QToolButton* b = noteValueButton(pitch::kHalfNote)) b->setEnabled(allowed.half);
    if ((noteValue_ == pitch::kWholeNote && !allowed.whole) ||
        (noteValue_ == pitch::kHalfNote && !allowed.half))
        noteValue_ = allowed.half ? pitch::kHalfNote : pitch::kQuarterNote;
    if (QToolButton* b = noteValueButton(noteValue_)) b->setChecked(true);
}

void TAkkord::ApplySetup(bool resetResults) {
    stopBlinking();
    stopLightDisplay();
    styles_->hide();
    const auto& s = host().settings();
    if (state_.mode == ExerciseMode::Melody)
        pitch::ApplyMelodySetup(state_, host().currentSetup().melodyBlock(), resetResults, s.showKeyNames);
    else
        pitch::ApplySetup(state_, host().currentSetup().pitchBlock(exercise()), host().catalogue(),
                          resetResults, s.showKeyNames);
    // The offered material may have changed: the old question can no longer be judged.
    state_.answered = true;
    state_.answer = {};
    hasQuestion_ = false;
    judgement_.reset();
    Answered = true;
    QuestionCount = state_.questionCount;
    CorrectCount = state_.correctCount;

    std::vector<NameButtons::Entry> entries;
    for (std::size_t i = 0; i < state_.enabledList.size(); ++i) {
        const int e = state_.enabledList[i];
        entries.push_back({e, QString::fromStdString(state_.row(e).name),
                           i >= state_.answerButtonEnabled.size() || state_.answerButtonEnabled[i]});
    }
    names_->setEntries(entries);
    for (std::size_t k = 0; k < chordTypeButtons_.size(); ++k)
        chordTypeButtons_[k]->setVisible(state_.chordTypeButtonShown[k]);

    const std::uint8_t modes = state_.options.answerModes;
    ForcedAnswerInput =
        (modes & pitch::answer_bits::kLock) != 0 ? (modes & pitch::answer_bits::kInstruments) : 0;
    sheet_->chordLike = state_.chordLike;
    sheet_->stepLabels = state_.mode == ExerciseMode::Scale;
    sheet_->showSolfege = state_.solfege;
    sheet_->showKeyName = state_.showKeyName;
    if (resetResults) ShowScore();
    updateNoteValueTools();
    showLabel(QString(), false);
    enableOnlyNewQuestion();
    applyAnswerModes();
    redraw();
}

void TAkkord::applyAnswerModes() {
    std::uint8_t bits = ForcedAnswerInput;
    if (bits == 0) {
        const auto& inputs = host().settings().answerInputs;
        bits = panelsChosen_ ? panels_ : inputs[static_cast<std::size_t>(exercise() - 1)].mask;
    }
    ShowAnswerPanels(bits);
}

void TAkkord::ShowAnswerPanels(std::uint8_t bits) {
    bits &= pitch::answer_bits::kInstruments;
    // The melody has no names to choose from; the progression's chords are written on the staff too.
    if (state_.mode == ExerciseMode::Melody) bits &= static_cast<std::uint8_t>(~pitch::answer_bits::kByName);
    if (bits == 0)
        bits = state_.mode == ExerciseMode::Melody ? pitch::answer_bits::kNotesheet
                                                   : pitch::answer_bits::kByName;
    panels_ = bits;
    const bool names = (bits & pitch::answer_bits::kByName) != 0;
    const bool piano = (bits & pitch::answer_bits::kPiano) != 0;
    const bool guitar = (bits & pitch::answer_bits::kGuitar) != 0;
    const bool sheet = (bits & pitch::answer_bits::kNotesheet) != 0;
    names_->setVisible(names);
    pianoPanel_->setVisible(piano);
    guitar_->setVisible(guitar);
    sheet_->setVisible(sheet);
    chordTypes_->setVisible(state_.mode == ExerciseMode::Progression && (piano || guitar || sheet));
    for (std::size_t i = 0; i < inputButtons_.size(); ++i) {
        QToolButton* b = inputButtons_[i];
        b->setChecked((bits & kInputs[i].bit) != 0);
        b->setEnabled(ForcedAnswerInput == 0 && !(state_.mode == ExerciseMode::Melody &&
                                                  kInputs[i].bit == pitch::answer_bits::kByName));
    }
    state_.instruments.piano = piano;
    state_.instruments.guitar = guitar;
    state_.instruments.guitarWidthClass = guitar_->widthClass();
    state_.instruments.pianoOctaves = piano_->octaves();
    pitch::UpdateInputRange(state_);
    sheet_->lowestPitch = state_.inputRangeLow;
    sheet_->highestPitch = state_.inputRangeHigh;
    redraw();
}

void TAkkord::ResetExercise() {
    stopBlinking();
    stopLightDisplay();
    pitch::ResetExercise(state_);
    state_.answered = true;
    hasQuestion_ = false;
    judgement_.reset();
    keys_ = {};
    Answered = true;
    QuestionCount = 0;
    CorrectCount = 0;
    names_->setAllShades(NameButton::Shade::Normal);
    showLabel(QString(), false);
    enableOnlyNewQuestion();
    redraw();
    ShowScore();
}

int TAkkord::scoreFormat() const {
    return state_.mode == ExerciseMode::Progression ? kTextProgressionScore : kTextScore;
}

void TAkkord::ShowScore() {
    WriteScore(scoreFormat(),
               state_.mode == ExerciseMode::Progression ? "Chords: %d of %d" : "Score: %d of %d");
}

void TAkkord::AutoNewQuestTimerTimer() {
    // A chord being played on the keyboard is not cut off by the next question.
    if (keys_.heldKeys > 0) return;
    NewQuestion();
}

void TAkkord::NewQuestion() {
    stopBlinking();
    stopLightDisplay();
    host().stopAutoNewQuestTimer();
    names_->setAllShades(NameButton::Shade::Normal);
    releaseHeld();
    const auto result = pitch::NewQuestion(state_, host().catalogue());
    if (result == pitch::GenerateResult::NothingToAsk) {
        enableOnlyNewQuestion();
        return;
    }
    if (result == pitch::GenerateResult::MelodyFailed) {
        showLabel(text(pitch::judge_texts::kMelodyFailed, "No melody fits these settings."), false);
        return;
    }
    hasQuestion_ = true;
    judgement_.reset();
    Answered = false;
    // Scales and melodies have one way of playing each; the others show how this one sounds.
    const bool styled = state_.mode != ExerciseMode::Scale && state_.mode != ExerciseMode::Melody;
    styles_->setVisible(styled);
    if (styled) styles_->showStyle(state_.style);
    tutorStepEnded_ = false;
    updateNoteValueTools();
    // Answer chords of other lengths cannot be the answer.
    if (state_.mode == ExerciseMode::Progression)
        for (std::size_t i = 0; i < state_.enabledList.size() && i < state_.answerButtonEnabled.size(); ++i)
            if (NameButton* b = names_->button(state_.enabledList[i]))
                b->setEnabled(state_.answerButtonEnabled[i]);

    QString prompt = text(pitch::PromptTextId(state_.mode), promptText(state_.mode));
    if (state_.firstTonePitch != 0)
        prompt += QStringLiteral(" - ") + (state_.style == pitch::PlayStyle::Together
                                               ? text(kTextTogetherFirstTone, "the lowest note is shown")
                                               : text(kTextArpeggioFirstTone, "the first note is shown"));
    showLabel(prompt, false);
    ControlButton->setButtonEnabled(kNew, true);
    ControlButton->setButtonEnabled(kCheck, true);
    sheet_->keySig = state_.key.keySig;
    sheet_->minor = state_.key.minor;
    sheet_->tonicOffset = state_.key.tonicOffset;
    sheet_->shift = state_.displayShift;
    sheet_->clefPreference = state_.clefPreference;
    sheet_->showKeySignature = state_.options.showKeySignature;
    sheet_->keyName =
        QString::fromStdString(theory::KeyName(state_.key.keySig, state_.key.minor, host().catalogue()));
    sheet_->StaffLayout(state_.highest, state_.mode == ExerciseMode::Progression);
    redraw();
    play(static_cast<int>(PlayKind::NewQuestion));
    TExerciseBaseClass::NewQuestion();
}

void TAkkord::play(int kind) {
    ControlButton->setButtonEnabled(kRepeat, false);
    ControlButton->setButtonEnabled(kAnswer, false);
    host().stopAutoNewQuestTimer();
    const auto outcome = pitch::PlayQuestion(state_, static_cast<PlayKind>(kind), host().midiOut(),
                                             host().settings(), guitarSound());
    if (outcome.shownTonic != 0) {
        pitch::QuestionNote tonic;
        tonic.pitch = outcome.shownTonic;
        tonic.spellOffset = theory::DefaultSpelling(tonic.pitch, state_.key.keySig);
        hold(tonic, pitch::NoteSource::TonicDisplay, false);
    }
    ControlButton->setButtonEnabled(kStop, true);
    ControlButton->FocusButton(kStop);
    startLightDisplay(static_cast<PlayKind>(kind));
}

void TAkkord::RepeatQuestion() {
    if (hasQuestion_) play(static_cast<int>(PlayKind::Repeat));
}

void TAkkord::ButtonAction2() {
    play(static_cast<int>(PlayKind::Answer));
}

void TAkkord::ButtonAction3() {
    if (!hasQuestion_) return;
    judged(pitch::CheckAnswer(state_, judgeContext(), program().language));
}

void TAkkord::CompleteAnswer() {
    ButtonAction3();
}

void TAkkord::SeqNotify(std::uint16_t code) {
    switch (code) {
        case pitch::play_codes::kShowUpperBaseTone:
            if (state_.answer.held.source == pitch::NoteSource::TonicDisplay &&
                state_.answer.held.note.pitch != 0) {
                auto upper = state_.answer.held.note;
                upper.pitch += 12;
                hold(upper, pitch::NoteSource::TonicDisplay, false);
            }
            break;
        case pitch::play_codes::kReleaseShownTone:
            if (state_.answer.held.source == pitch::NoteSource::TonicDisplay) releaseHeld();
            break;
        case pitch::play_codes::kShowFirstTone:
            redraw();
            break;
        case pitch::play_codes::kPlaybackFinished:
            StopPlaying();
            break;
        default:
            break;
    }
}

void TAkkord::StopPlaying() {
    host().midiOut().Stop();
    stopLightDisplay();
    if (state_.answer.held.source == pitch::NoteSource::TonicDisplay) releaseHeld();
    const bool hasAnswer = !state_.answer.notes.empty() || !state_.answer.voiced.empty();
    ControlButton->setButtonEnabled(kNew, !state_.enabledList.empty() || state_.mode == ExerciseMode::Melody);
    ControlButton->setButtonEnabled(kRepeat, hasQuestion_);
    ControlButton->setButtonEnabled(kAnswer, hasAnswer);
    ControlButton->setButtonEnabled(kStop, false);
    ControlButton->FocusButton(hasQuestion_ && !Answered ? kCheck : kNew);
}

pitch::JudgeContext TAkkord::judgeContext() const {
    pitch::JudgeContext context;
    const auto mode = host().settings().answerInputMethod;
    context.identification =
        mode <= 2 ? static_cast<pitch::IdentificationMode>(mode) : pitch::IdentificationMode::ExactOctave;
    context.notesheetShown = (panels_ & pitch::answer_bits::kNotesheet) != 0;
    return context;
}

void TAkkord::PreviewAnswer(int entry, bool commit) {
    if (!hasQuestion_ || state_.answered) return;
    const auto outcome =
        pitch::PreviewAnswer(state_, entry, commit, judgeContext(), host().catalogue(), program().language);
    if (outcome.judgement) {
        judged(outcome.judgement);
        return;
    }
    showAnswerLabel();
    redraw();
    ControlButton->setButtonEnabled(kAnswer, true);
    if (state_.options.playToneOnClick) play(static_cast<int>(PlayKind::Answer));
}

void TAkkord::judged(const std::optional<pitch::Judgement>& judgement) {
    if (!judgement) return;
    judgement_ = judgement;
    Answered = true;
    LastAnswerCorrect = judgement->right;
    releaseHeld();
    ControlButton->setButtonEnabled(kNew, true);
    ControlButton->setButtonEnabled(kCheck, false);
    ControlButton->setButtonEnabled(kAnswer, true);
    ControlButton->FocusButton(kNew);
    showLabel(QString::fromStdString(judgement->label), judgement->tick);
    names_->setAllShades(NameButton::Shade::Normal);
    if (NameButton* b = names_->button(judgement->redEntry)) b->setShade(NameButton::Shade::Wrong);
    if (NameButton* b = names_->button(judgement->greenEntry)) {
        b->setShade(NameButton::Shade::Right);
        blinking_ = true;
        blinkTicks_ = 0;
        host().startAnswerBlinkTimer(kBlinkMs);
    }
    for (QPushButton* b : chordTypeButtons_) b->setEnabled(false);
    RegisterAnswer(judgement->right);
    QuestionCount = state_.questionCount;
    CorrectCount = state_.correctCount;
    ShowScore();
    redraw();
    tutorStepEnded_ = host().checkTutorStepEnd();
    const auto& s = host().settings();
    if (!tutorStepEnded_ && s.autoNewQuestion && (judgement->right || !s.onlyIfCorrect))
        host().startAutoNewQuestTimer();
}

void TAkkord::AnswerButtonBlink() {
    NameButton* b = judgement_ ? names_->button(judgement_->greenEntry) : nullptr;
    if (!blinking_ || b == nullptr) {
        stopBlinking();
        return;
    }
    b->setShade(b->shade() == NameButton::Shade::Right ? NameButton::Shade::Normal
                                                       : NameButton::Shade::Right);
    if (++blinkTicks_ >= kBlinkToggles) {
        stopBlinking();
        b->setShade(NameButton::Shade::Right);
    }
}

void TAkkord::stopBlinking() {
    if (!blinking_) return;
    blinking_ = false;
    host().stopAnswerBlinkTimer();
}

void TAkkord::EnterExercise() {
    TExerciseBaseClass::EnterExercise();
    const auto& s = host().settings();
    host().midiOut().ProgramChange(static_cast<std::uint8_t>(s.pianoVoice.program),
                                   static_cast<std::uint8_t>(s.pianoVoice.channel));
    host().midiOut().ProgramChange(static_cast<std::uint8_t>(s.guitarVoice.program),
                                   static_cast<std::uint8_t>(s.guitarVoice.channel));
    keys_ = {};
    pianoSound_->showVoice(s.pianoVoice);
    applyAnswerModes();
    if (!tutorStepEnded_ && (s.autoNewQuestion || !hasQuestion_) && !state_.enabledList.empty())
        host().startAutoNewQuestTimer();
}

void TAkkord::LeaveExercise() {
    stopLightDisplay();
    releaseHeld();
    MicrophoneAnswering(false);
    TExerciseBaseClass::LeaveExercise();
}

void TAkkord::showLabel(const QString& t, bool withTick) {
    label_->setText(t);
    tick_->setVisible(withTick);
}

void TAkkord::showAnswerLabel() {
    showLabel(QString::fromStdString(pitch::AnswerLabel(state_, program().language)), false);
}

void TAkkord::enableOnlyNewQuestion() {
    const bool canAsk = !state_.enabledList.empty() || state_.mode == ExerciseMode::Melody;
    for (int i = 0; i < TControlButton::kButtons; ++i)
        ControlButton->setButtonEnabled(i, i == kNew && canAsk);
    if (!canAsk)
        showLabel(text(kTextNothingToAsk,
                       "This setup offers nothing to ask. Choose some material in the exercise setup or load "
                       "another setup."),
                  false);
    ControlButton->FocusButton(kNew);
}

}  // namespace kalvintor::ui
