// The pitch exercise window's answer input: instruments, notesheet, MIDI keyboard and the
// microphone, and what the instruments and the staff show of the answer.
#include "app/ExerciseHost.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/TControlButton.h"
#include "app/Texts.h"
#include "exercises/pitch/ChordLabels.h"
#include "notation/TSheet.h"
#include "pitch/MicMeter.h"
#include "pitch/NameButtons.h"
#include "pitch/TAkkord.h"
#include "pitch/TGuitar.h"
#include "pitch/TPiano.h"
#include "settings/SettingRecord.h"
#include "sound/MidiMessage.h"
#include "sound/TMidiOut.h"
#include "theory/Guitar.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace kalvintor::ui {

using kalvintor::notation::Ink;
using pitch::ExerciseMode;

namespace {

constexpr int kAnswerButton = 2;

int stringOf(const pitch::QuestionNote& note) {
    return note.guitarString >= theory::kAutoStringBase ? note.guitarString - theory::kAutoStringBase
                                                        : note.guitarString;
}

QString noteName(const pitch::QuestionNote& note) {
    return QString::fromStdString(theory::NoteName(note.pitch, note.spellOffset)) +
           QString::number(theory::floorDiv(note.pitch + note.spellOffset, 12) - 1);
}

}  // namespace

bool TAkkord::guitarSound() const {
    return (panels_ & pitch::answer_bits::kGuitar) != 0 && (panels_ & pitch::answer_bits::kPiano) == 0;
}

settings::TSoundRec TAkkord::voice(int key) const {
    const auto& s = host().settings();
    settings::TSoundRec sound = guitarSound() ? s.guitarVoice : s.pianoVoice;
    // The guitar sounds an octave below its written notes unless the light guitar is chosen.
    sound.key =
        static_cast<std::uint16_t>(std::clamp(key - (guitarSound() && !s.lightGuitar ? 12 : 0), 0, 127));
    return sound;
}

void TAkkord::hold(const pitch::QuestionNote& note, pitch::NoteSource source, bool sound) {
    auto& held = state_.answer.held;
    if (sound && state_.options.playToneOnClick && note.pitch != held.note.pitch) {
        if (soundingKey_ != 0) host().midiOut().NoteOff(static_cast<std::uint8_t>(soundingKey_));
        const auto v = voice(note.pitch);
        host().midiOut().NoteOn(v);
        soundingKey_ = v.key;
    }
    held.note = note;
    held.source = source;
    redraw();
}

void TAkkord::releaseHeld() {
    if (soundingKey_ != 0) host().midiOut().NoteOff(static_cast<std::uint8_t>(soundingKey_));
    soundingKey_ = 0;
    state_.answer.held = {};
    redraw();
}

void TAkkord::instrumentPressed(int shownPitch, int string, pitch::NoteSource source) {
    auto note = pitch::InstrumentNote(state_, shownPitch);
    if (string > 0) note.guitarString = static_cast<std::uint8_t>(string);
    hold(note, source, true);
}

void TAkkord::instrumentReleased(int shownPitch, bool remove) {
    auto note = state_.answer.held.note.pitch != 0 ? state_.answer.held.note
                                                   : pitch::InstrumentNote(state_, shownPitch);
    if (remove) note = pitch::InstrumentNote(state_, shownPitch);
    releaseHeld();
    if (state_.mode == ExerciseMode::Progression) {
        if (hasQuestion_ && !state_.answered)
            afterChordChange(pitch::SetAnswerChordRoot(state_, note.pitch, remove, host().catalogue()));
        return;
    }
    enterNote(note, remove, 0);
}

void TAkkord::EnterHeldNote() {
    const auto held = state_.answer.held;
    if (held.note.pitch == 0 || held.source == pitch::NoteSource::TonicDisplay) return;
    releaseHeld();
    if (state_.mode == ExerciseMode::Progression) {
        if (hasQuestion_ && !state_.answered)
            afterChordChange(pitch::SetAnswerChordRoot(state_, held.note.pitch, false, host().catalogue()));
        return;
    }
    enterNote(held.note, false, 0);
}

void TAkkord::enterNote(const pitch::QuestionNote& note, bool remove, int position) {
    // A judged answer stays as it was judged.
    if (hasQuestion_ && state_.answered) return;
    pitch::QuestionNote entered = note;
    if (state_.mode == ExerciseMode::Melody && state_.options.rhythm && !remove)
        entered.noteValue = noteValue_;
    afterAnswerChange(pitch::AddAnswerNote(state_, entered, remove, position));
}

void TAkkord::afterAnswerChange(const pitch::AddOutcome& outcome) {
    if (!outcome.changed) return;
    updateNoteValueTools();
    ControlButton->setButtonEnabled(kAnswerButton, !state_.answer.notes.empty());
    if (hasQuestion_) showAnswerLabel();
    redraw();
    if (outcome.checkNow && hasQuestion_) ButtonAction3();
}

void TAkkord::afterChordChange(bool checkNow) {
    const auto& chords = state_.answer.chords;
    const auto current = static_cast<std::size_t>(state_.answer.currentChord);
    if (current < chords.size()) {
        const int type = chords[current].extra;
        for (int k = 0; k < theory::kChordSymbolCount; ++k)
            if (theory::ProgressionChordTypes[static_cast<std::size_t>(k)] == type)
                if (QPushButton* b = chordTypeButton(k)) b->setChecked(true);
    }
    ControlButton->setButtonEnabled(kAnswerButton, !state_.answer.voiced.empty());
    redraw();
    if (checkNow && hasQuestion_) ButtonAction3();
}

void TAkkord::MidiInput(std::uint32_t message) {
    const std::uint8_t status = sound::StatusOf(message) & 0xF0;
    if (status != sound::kNoteOnStatus && status != 0x80) return;
    const int key = sound::Data1Of(message);
    const bool on = sound::IsNoteOn(message);
    if (!on) {
        if (state_.mode == ExerciseMode::Progression)
            keys_.heldKeys = std::max(0, keys_.heldKeys - 1);
        else
            pitch::MidiNote(state_, keys_, key, false, guitarSound());
        host().midiOut().NoteOff(static_cast<std::uint8_t>(voice(key).key));
        return;
    }
    if (state_.mode == ExerciseMode::Progression) {
        // The lowest key of each chord played names its root.
        const bool newChord = keys_.heldKeys++ == 0;
        if (state_.options.playToneOnClick) host().midiOut().NoteOn(voice(key));
        if (newChord && hasQuestion_ && !state_.answered)
            afterChordChange(pitch::SetAnswerChordRoot(state_, key, false, host().catalogue()));
        return;
    }
    const auto outcome = pitch::MidiNote(state_, keys_, key, true, guitarSound());
    if (outcome.action == pitch::MidiKeyAction::Ignored) return;  // outside the range, or answered
    auto& notes = state_.answer.notes;
    if (outcome.action == pitch::MidiKeyAction::Entered && state_.mode == ExerciseMode::Melody &&
        state_.options.rhythm && !notes.empty()) {
        // The key gives the pitch, the chosen tool the note value; entered again so the bars follow.
        pitch::QuestionNote last = notes.back();
        pitch::AddAnswerNote(state_, last, true, static_cast<int>(notes.size()));
        last.noteValue = noteValue_;
        pitch::AddAnswerNote(state_, last, false, 0);
    }
    if (state_.options.playToneOnClick) host().midiOut().NoteOn(voice(key));
    if (!hasQuestion_) {
        sheet_->clefPreference = state_.clefPreference;
        sheet_->StaffLayout(std::max(72, key), false);
    }
    afterAnswerChange({outcome.action == pitch::MidiKeyAction::Entered, outcome.checkNow});
}

void TAkkord::MicrophoneAnswering(bool active) {
    microphone_ = active;
    ring_ = {};
    meter_->heard(0, false);
    meter_->setVisible(active);
    if (!active && state_.answer.held.source == pitch::NoteSource::Microphone) releaseHeld();
}

std::optional<pitch::SungRange> TAkkord::MicrophoneRange() const {
    return pitch::MicrophoneRange(state_);
}

void TAkkord::MicPitch(std::uint8_t detected) {
    if (!microphone_) MicrophoneAnswering(true);
    // The detector reports a note once it has held steady for two hops, and again only after a
    // change or a silence, so every report stands for a steady note. The ring of recent pitches,
    // made for a stream of raw detections, starts afresh with each report; otherwise a leap of a
    // fifth or more after two notes would never be taken.
    ring_ = {};
    const auto& held = state_.answer.held;
    const bool again = detected > pitch::kSilence && held.source == pitch::NoteSource::Microphone &&
                       held.note.pitch == detected;
    const auto action = pitch::MicrophonePitch(state_, ring_, detected);
    meter_->heard(detected, detected > pitch::kSilence);
    if (action == pitch::MicrophoneAction::Released) {
        redraw();
        return;
    }
    if (action != pitch::MicrophoneAction::Held && !again) return;
    redraw();
    if (!hasQuestion_ || state_.answered) {
        if (hasQuestion_) return;
        showLabel(text(pitch::judge_texts::kSungNote, "Press Insert to enter the sung note"), false);
        return;
    }
    // A sung note is entered as a played one would be; the same pitch sung again after a breath
    // is another note.
    const auto note = state_.answer.held.note;
    if (state_.mode == ExerciseMode::Progression) {
        afterChordChange(pitch::SetAnswerChordRoot(state_, note.pitch, false, host().catalogue()));
        return;
    }
    enterNote(note, false, 0);
}

void TAkkord::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Insert) {
        EnterHeldNote();
        return;
    }
    TExerciseBaseClass::keyPressEvent(event);
}

void TAkkord::redraw() {
    using kalvintor::notation::StaffNoteInput;
    std::vector<StaffNoteInput> staff;
    std::vector<notation::ColumnLabel> labels;
    std::vector<InstrumentMark> marks;
    std::vector<int> litStaff;
    const bool progression = state_.mode == ExerciseMode::Progression;
    const int shift = state_.displayShift;
    const auto& shown = shownNotes();
    // Shown notes without a pitch (progression chords not chosen yet) are not drawn.
    std::vector<int> staffIndex(shown.size(), -1);
    std::size_t litAt = 0;
    const auto mark = [&](std::size_t i, Ink ink) {
        const auto& n = shown[i];
        while (litAt < lit_.size() && static_cast<std::size_t>(lit_[litAt]) < i) ++litAt;
        const bool lit = litAt < lit_.size() && static_cast<std::size_t>(lit_[litAt]) == i;
        if (n.pitch <= 0) return;
        staffIndex[i] = static_cast<int>(staff.size());
        if (lit) litStaff.push_back(static_cast<int>(staff.size()));
        staff.push_back({n, ink});
        marks.push_back({n.pitch - shift, stringOf(n), ink, lit});
    };
    const std::size_t answerCount = shownAnswerCount();
    // The staff index of the first drawn note among shown[from, to), -1 for none.
    const auto firstDrawn = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            if (staffIndex[i] >= 0) return staffIndex[i];
        return -1;
    };
    if (judgement_) {
        const Ink ink = judgement_->right ? Ink::Right : Ink::Wrong;
        for (std::size_t i = 0; i < shown.size(); ++i) mark(i, i < answerCount ? ink : Ink::Question);
        if (!judgement_->right && answerCount > 0) {
            QString name;
            if (state_.mode == ExerciseMode::Melody) {
                name = text(pitch::judge_texts::kMelodyAnswer, "Your answer");
            } else if (!progression) {
                const int formed = pitch::FindFormedEntry(state_);
                name = formed > 0 ? QString::fromStdString(state_.row(formed).name) : QStringLiteral("?");
            }
            if (!name.isEmpty()) labels.push_back({firstDrawn(0, answerCount), name, ui::style::kWrong});
        }
        const bool named = state_.entry >= 1 && state_.entry <= theory::kCatalogueEntries;
        const QString question = state_.mode == ExerciseMode::Melody
                                     ? text(pitch::judge_texts::kMelodyQuestion, "The question")
                                 : named ? QString::fromStdString(state_.row(state_.entry).name)
                                         : QString();
        if (const int at = firstDrawn(answerCount, shown.size()); at >= 0)
            labels.push_back({at, question, ui::style::kRight});
    } else {
        for (std::size_t i = 0; i < shown.size(); ++i) mark(i, Ink::Pending);
    }
    // Progression chords carry their step in the key and their name under the staves.
    std::vector<notation::ChordMark> chords;
    if (progression) {
        const QColor answerColour = !judgement_
                                        ? notation::inkColour(Ink::Pending)
                                        : notation::inkColour(judgement_->right ? Ink::Right : Ink::Wrong);
        for (const auto& l : pitch::ProgressionChordLabels(state_, shown, judgement_.has_value())) {
            const int at = staffIndex[static_cast<std::size_t>(l.noteIndex)];
            if (at < 0) continue;
            chords.push_back({at, QString::fromStdString(l.numeral), QString::fromStdString(l.name),
                              l.question ? notation::inkColour(Ink::Question) : answerColour});
        }
    }
    sheet_->DrawStaff(std::move(staff), std::move(labels), std::move(chords), std::move(litStaff));
    InstrumentHeld held;
    const auto& h = state_.answer.held;
    if (h.note.pitch != 0) {
        held = {h.note.pitch - shift,
                stringOf(h.note) != 0 ? stringOf(h.note) : theory::HighestStringFor(h.note.pitch - shift),
                noteName(h.note)};
        sheet_->DrawHeldNote(h.note, noteName(h.note));
    } else {
        sheet_->DrawHeldNote({}, {});
    }
    piano_->setMarks(marks, held);
    guitar_->setMarks(marks, held);
}

}  // namespace kalvintor::ui
