// The exact sequence of sequencer events of a pitch question.
#include "exercises/pitch/PlayQuestion.h"

#include "sound/MidiMessage.h"
#include "sound/SeqEvent.h"
#include "theory/Tables.h"

#include <algorithm>
#include <vector>

namespace kalvintor::pitch {

using theory::floorDiv;
using theory::floorMod;

namespace {

// Beats of the count-in bar, as the visual metronome numbers them (beats x 256 + beat).
inline constexpr int kCountInBeats = 4;
inline constexpr std::int32_t kBeatTicks = tonic_ticks::kBar / kCountInBeats;

sound::NoteMode noteModeOf(PlayStyle style) {
    return static_cast<sound::NoteMode>(style);
}

std::vector<sound::QueuedNote> queued(const std::vector<QuestionNote>& notes, std::size_t from,
                                      std::size_t to) {
    std::vector<sound::QueuedNote> result;
    for (std::size_t i = from; i < to && i < notes.size(); ++i) {
        sound::QueuedNote q;
        q.note = static_cast<std::int8_t>(std::clamp(notes[i].pitch, 0, 127));
        q.duration = notes[i].noteValue != 0 ? notes[i].noteValue : kQuarterNote;
        q.accent = notes[i].noteValue != 0 ? notes[i].beatWeight : 2;
        result.push_back(q);
    }
    return result;
}

class Queue {
public:
    Queue(sound::TMidiOut& midiOut, const settings::TSoundRec& voice) : midiOut_(midiOut), voice_(voice) {}

    void note(int pitch) {
        if (pitch < 0 || pitch > sound::kMaxDataValue) return;
        message(sound::NoteOnMessage(
            static_cast<std::uint8_t>(voice_.channel), static_cast<std::uint8_t>(pitch),
            static_cast<std::uint8_t>(std::min<int>(voice_.velocity, sound::kMaxDataValue))));
    }
    void chord(std::initializer_list<int> pitches, std::int32_t ticks) {
        for (int p : pitches) note(p);
        delay(ticks);
        allNotesOff();
    }
    void allNotesOff() {
        message(sound::ControllerMessage(static_cast<std::uint8_t>(voice_.channel), sound::kAllNotesOff));
    }
    void delay(std::int32_t ticks, std::uint8_t track = sound::kQuestionTrack) {
        midiOut_.Sequencer().SeqAddEvent(track, ticks, sound::SeqEventKind::Delay);
    }

private:
    void message(std::uint32_t m) {
        midiOut_.Sequencer().SeqAddEvent(sound::kQuestionTrack, static_cast<std::int32_t>(m),
                                         sound::SeqEventKind::Message);
    }
    sound::TMidiOut& midiOut_;
    const settings::TSoundRec& voice_;
};

int firstSoundingPitch(const PitchExerciseState& state) {
    if (state.mode == ExerciseMode::Progression) {
        for (const auto& n : state.voiced)
            if (n.pitch != 0 && n.addedBass == 0) return n.pitch;
        return state.root;
    }
    return state.notes.empty() ? state.root : state.notes.front().pitch;
}

void queueNotes(sound::TMidiOut& midiOut, const std::vector<QuestionNote>& notes, PlayStyle style,
                bool guitar, bool unisonTogether) {
    const auto q = queued(notes, 0, notes.size());
    const auto count = static_cast<std::uint8_t>(unisonTogether && !q.empty() ? q.size() - 1 : q.size());
    midiOut.QueueNotes(q, count, noteModeOf(style), guitar);
}

void queueChords(sound::TMidiOut& midiOut, const std::vector<QuestionNote>& voiced,
                 const std::vector<int>& starts, PlayStyle style, bool guitar) {
    for (std::size_t c = 0; c < starts.size(); ++c) {
        const auto from = static_cast<std::size_t>(starts[c]);
        const auto to = c + 1 < starts.size() ? static_cast<std::size_t>(starts[c + 1]) : voiced.size();
        if (from >= voiced.size()) break;
        if (voiced[from].pitch == 0) {
            // A chord not chosen yet keeps its place in time.
            midiOut.Sequencer().SeqAddEvent(sound::kQuestionTrack, sound::kChordTicks,
                                            sound::SeqEventKind::Delay);
            continue;
        }
        const auto q = queued(voiced, from, to);
        midiOut.QueueNotes(q, static_cast<std::uint8_t>(q.size()), noteModeOf(style), guitar);
    }
}

// Chord starts of voiced answer chords, found from their end marks.
std::vector<int> startsOf(const std::vector<QuestionNote>& voiced) {
    std::vector<int> starts;
    bool atStart = true;
    for (std::size_t i = 0; i < voiced.size(); ++i) {
        if (atStart) starts.push_back(static_cast<int>(i));
        atStart = voiced[i].endMark != 0;
    }
    return starts;
}

}  // namespace

int TonicFor(const KeyContext& key, int firstNote) {
    int tonic = floorDiv(firstNote, 12) * 12 + theory::KeyTonic(key.keySig) - (key.minor ? 3 : 0);
    while (tonic > firstNote) tonic -= 12;
    while (tonic <= firstNote - 12) tonic += 12;
    return tonic;
}

PlayOutcome PlayQuestion(PitchExerciseState& state, PlayKind kind, sound::TMidiOut& midiOut,
                         const settings::Settings& settings, bool guitarSound) {
    PlayOutcome outcome;
    midiOut.Stop();
    const auto& voice = guitarSound ? settings.guitarVoice : settings.pianoVoice;
    Queue queue(midiOut, voice);

    // The tonic reference.
    std::int32_t questionStart = 0;
    bool baseTones = false;
    if ((kind == PlayKind::NewQuestion && state.options.playTonic) || kind == PlayKind::TonicOnly) {
        int t = TonicFor(state.key, firstSoundingPitch(state));
        if (guitarSound && !settings.lightGuitar) t -= 12;
        state.tonicPitch = t;
        const int minor = state.key.minor ? 1 : 0;
        if (state.options.tonicStyle == TonicStyle::BaseTones) {
            baseTones = true;
            questionStart = tonic_ticks::kBaseTonesStart;
            outcome.shownTonic = t;
            queue.note(t);
            queue.delay(tonic_ticks::kBaseTone);
            midiOut.QueueNotify(play_codes::kShowUpperBaseTone);
            queue.note(t + 12);
            queue.delay(tonic_ticks::kBaseTone);
            queue.allNotesOff();
            midiOut.QueueNotify(play_codes::kReleaseShownTone);
            queue.delay(tonic_ticks::kRest);
        } else {
            questionStart = tonic_ticks::kCadenceStart;
            queue.chord({t, t + 4 - minor, t + 7, t + 12}, tonic_ticks::kLongChord);
            queue.chord({t - 7, t + 5, t + 9 - minor, t + 12}, tonic_ticks::kShortChord);
            queue.chord({t - 5, t + 2, t + 5, t + 11}, tonic_ticks::kShortChord);
            queue.chord({t, t + 4 - minor, t + 7, t + 12}, tonic_ticks::kLongChord);
            queue.delay(tonic_ticks::kRest);
        }
        if (state.options.showFirstTone && kind == PlayKind::NewQuestion)
            midiOut.QueueNotify(play_codes::kShowFirstTone);
    }

    // The melody count-in on the click track.
    const bool countIn = state.mode == ExerciseMode::Melody && state.options.rhythm &&
                         (kind == PlayKind::NewQuestion || kind == PlayKind::Repeat) &&
                         (settings.metronomePlaying || settings.visualMetronome);
    if (countIn) {
        if (questionStart > 0) queue.delay(questionStart, sound::kClickTrack);
        std::int32_t total = 0;
        for (const auto& n : state.notes)
            total += n.noteValue >= 1 && n.noteValue <= 6 ? sound::NoteDurations[n.noteValue] : kBeatTicks;
        const int bars = total / tonic_ticks::kBar;
        const bool silent = !settings.metronomePlaying;
        for (int bar = 0; bar <= bars; ++bar) {
            for (int beat = 1; beat <= kCountInBeats; ++beat) {
                midiOut.QueueSound(static_cast<std::uint16_t>(kBeatTicks), beat == 1 ? 0 : 2,
                                   static_cast<std::uint16_t>(kCountInBeats * 256 + beat), 0,
                                   beat == 1 ? settings.firstBeatClick : settings.metronomeClick, silent);
            }
        }
        if (baseTones || questionStart == 0) queue.delay(tonic_ticks::kBar);
    }

    // The question or the answer.
    if (kind == PlayKind::NewQuestion || kind == PlayKind::Repeat) {
        if (state.mode == ExerciseMode::Progression) {
            queueChords(midiOut, state.voiced, state.chordStarts, state.style, guitarSound);
        } else {
            const bool unison = state.mode == ExerciseMode::Interval && state.style == PlayStyle::Together &&
                                state.notes.size() == 2 && state.notes[0].pitch == state.notes[1].pitch;
            queueNotes(midiOut, state.notes, state.style, guitarSound, unison);
        }
    } else if (kind == PlayKind::Answer) {
        if (state.mode == ExerciseMode::Progression) {
            queueChords(midiOut, state.answer.voiced, startsOf(state.answer.voiced), state.style,
                        guitarSound);
        } else if (!state.answer.notes.empty()) {
            queueNotes(midiOut, state.answer.notes, state.style, guitarSound, false);
        }
    }
    midiOut.QueueNotify(play_codes::kPlaybackFinished);
    midiOut.Play();
    return outcome;
}

namespace {

void queueInterval(const std::vector<int>& pitches, PlayStyle style, sound::TMidiOut& midiOut) {
    std::vector<sound::QueuedNote> notes;
    for (int p : pitches) {
        sound::QueuedNote q;
        q.note = static_cast<std::int8_t>(std::clamp(p, 0, 127));
        notes.push_back(q);
    }
    midiOut.QueueNotes(notes, static_cast<std::uint8_t>(notes.size()), noteModeOf(style), false);
}

}  // namespace

void PlayComparison(const IntervalComparisonState& state, bool repeat, sound::TMidiOut& midiOut) {
    midiOut.Stop();
    queueInterval(state.notesA, state.style, midiOut);
    midiOut.Sequencer().SeqAddEvent(sound::kQuestionTrack, repeat ? kComparisonRepeatPause : kComparisonPause,
                                    sound::SeqEventKind::Delay);
    midiOut.QueueNotify(comparison_codes::kAFinished);
    queueInterval(state.notesB, state.style, midiOut);
    midiOut.QueueNotify(comparison_codes::kBFinished);
    midiOut.QueueNotify(comparison_codes::kPlaybackFinished);
    midiOut.Play();
}

void PlayComparedInterval(const IntervalComparisonState& state, ComparisonChoice which,
                          sound::TMidiOut& midiOut) {
    midiOut.Stop();
    queueInterval(which == ComparisonChoice::A ? state.notesA : state.notesB, state.style, midiOut);
    midiOut.QueueNotify(comparison_codes::kPlaybackFinished);
    midiOut.Play();
}

}  // namespace kalvintor::pitch
