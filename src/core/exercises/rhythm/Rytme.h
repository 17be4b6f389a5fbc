// The rhythm engine shared by the three rhythm exercises: setup, generation, errors, playback,
// taps and judging, and the layout of the notation.
#pragma once

#include "exercises/rhythm/Evaluate.h"
#include "exercises/rhythm/InjectErrors.h"
#include "exercises/rhythm/MeterTable.h"
#include "exercises/rhythm/NotationLayout.h"
#include "exercises/rhythm/RhythmNote.h"
#include "exercises/rhythm/RhythmSetup.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kalvintor::language {
class Language;
}
namespace kalvintor::settings {
struct Settings;
}
namespace kalvintor::sound {
class TMidiOut;
enum class SeqEventKind : std::uint8_t;
}  // namespace kalvintor::sound

namespace kalvintor::rhythm {

// One entry of the choice list: a value code, plain or as a triplet group.
struct Choice {
    int value = 0;
    bool triplet = false;

    friend bool operator==(const Choice&, const Choice&) = default;
};

enum class GenerateOutcome {
    Complete,
    Incomplete,       // a note could not be placed; the rhythm keeps the notes made so far
    NothingToChoose,  // the setup chooses no meter or no value: nothing was made
};

inline constexpr int kMaxBars = 12;
inline constexpr int kMaxTaps = 385;

// Notices the engine queues, as offsets from an exercise's base notification code.
inline constexpr std::uint16_t kCountInEnded = 1;
inline constexpr std::uint16_t kRhythmBarEnded = 2;
inline constexpr std::uint16_t kClickBarEnded = 6;
inline constexpr std::uint16_t kClickBarsEnded = 8;
// Free in imitation and reading: the tap-timing calibration's first click.
inline constexpr std::uint16_t kCalibrationClicksBegan = 3;
inline constexpr int kTextCannotGenerate = 942;
inline constexpr const char* kCannotGenerateEnglish =
    "No rhythm can be made with the chosen meters and note values. Please change the rhythm setup.";

class TRytme {
public:
    // What the engine uses from the program; any of them may be missing (tests, tools): without a
    // MIDI output nothing is queued, without settings the built-in ones are used, without a language
    // the design-time English texts are shown, and without showMessage no message is shown.
    struct Services {
        sound::TMidiOut* midiOut = nullptr;
        const settings::Settings* settings = nullptr;
        const language::Language* language = nullptr;
        std::function<void(const std::string&)> showMessage;
    };

    TRytme();
    explicit TRytme(Services services);
    ~TRytme();
    TRytme(const TRytme&) = delete;
    TRytme& operator=(const TRytme&) = delete;

    // Loads a setup block: rebuilds the choice list, empties both voices and the taps. Values out
    // of range are brought into range (tempo 20..250, bars 1..12, errors 1..5).
    void Setup(const RhythmSetup& setup);

    // A new random rhythm in voice 0.
    GenerateOutcome Generate();
    void Beam(int voice);
    // Voice 1 from voice 0 with the wanted number of errors; false when no error could be placed.
    bool InjectErrors();

    // Playback through the MIDI output: the rhythm on track 1, clicks on track 2.
    void PlayMetronomeBar(bool generate, std::uint16_t lastCode, std::uint16_t penultimateCode,
                          bool delayTrack1, bool audible);
    void PlayMetronomeBars(std::uint16_t base, int bars);
    void PlayRhythm(std::uint16_t base, int voice, bool countIn);
    void PlayTaps(std::uint16_t base);

    // Taps in milliseconds of the shared millisecond clock. Time zero is the moment of the event
    // being handled (the notice of a bar's end at the time it fell due), else now.
    void StartTaps();
    // Tap time zero at a given moment (a rhythm whose first note is known to sound then).
    void StartTapsAt(std::int64_t zeroMs);
    void AddTap(std::int64_t time = 0);  // 0 = the event being handled, else now
    void ClearTaps();
    bool Tapped() const { return tapped_; }
    int TapCount() const { return static_cast<int>(taps_.size()); }
    const std::vector<std::int64_t>& Taps() const { return taps_; }
    std::int64_t TapZero() const { return tapZero_; }

    // Judges the taps against voice 0, marks its notes and returns the score 0..100; `message`
    // receives the text to show (empty without taps).
    int Evaluate(int passThreshold, std::string& message);
    const Evaluation& LastEvaluation() const { return evaluation_; }

    // Lays a voice out for a paint area `width` pixels wide with the program's spacing setting,
    // storing each note's x and row and the voice's bar lines.
    NotationLayout Layout(int voice, int width);
    const std::vector<BarPosition>& Bars(int voice) const { return bars_[checkedVoice(voice)]; }

    Voice& voice(int v) { return voices_[checkedVoice(v)]; }
    const Voice& voice(int v) const { return voices_[checkedVoice(v)]; }

    const std::vector<Choice>& Choices() const { return choices_; }
    int PlainCount() const { return plainCount_; }
    int SmallestFit() const { return smallestFit_; }
    const std::vector<int>& ChosenMeters() const { return meters_; }
    int MeterIndex() const { return meterIndex_; }
    const Meter& CurrentMeter() const { return MeterTable[static_cast<std::size_t>(meterIndex_)]; }
    // Chooses the meter for rhythms set up by hand (tests, the picture tool).
    void SetMeter(int meterIndex);
    int Unit() const { return CurrentMeter().unit(); }
    int BarLength() const { return CurrentMeter().barLength(); }
    int GroupLength() const { return CurrentMeter().groupLength(); }

    int BarCount() const { return barCount_; }
    int Tempo() const { return tempo_; }
    // The main window's tempo control; brought into 20..250.
    void SetTempo(int tempo);
    Strictness GetStrictness() const { return strictness_; }
    int ErrorsWanted() const { return errorsWanted_; }
    bool DottedAllowed() const { return dotted_; }
    bool TiesAllowed() const { return ties_; }
    bool RestsAllowed() const { return rests_; }
    bool StartsWithBarRest() const { return startsWithBarRest_; }
    const std::vector<InjectedError>& Errors() const { return errors_; }

private:
    static std::size_t checkedVoice(int v);
    std::string text(int id, const char* english) const;
    // Whether the choice at `index` may be placed at `position`; sets its length and kind.
    bool tryChoice(std::size_t index, int position, bool firstNote, int tries, std::int32_t& duration,
                   NoteKind& kind) const;
    void appendNote(int value, NoteKind kind, std::int32_t duration, int& position);
    void appendTriplet(int value, std::int32_t duration, int& position);
    bool endsOnBeat(int position) const;
    void finishVoice();
    const settings::Settings& settingsInUse() const;
    void queueTrack1(std::int32_t value, sound::SeqEventKind kind);
    void queueRhythmNote(std::int64_t ticks, int velocity);

    Services services_;
    std::array<Voice, kVoiceCount> voices_;
    std::array<std::vector<BarPosition>, kVoiceCount> bars_;
    std::vector<Choice> choices_;
    int plainCount_ = 0;
    int smallestFit_ = 0;
    std::vector<int> meters_;
    int meterIndex_ = kMeterFourFour;
    bool dotted_ = false;
    bool ties_ = false;
    bool rests_ = false;
    int barCount_ = 1;
    int tempo_ = kDefaultTempo;
    int tapTempo_ = kDefaultTempo;
    Strictness strictness_ = Strictness::Normal;
    int errorsWanted_ = 1;
    bool startsWithBarRest_ = false;
    std::vector<std::int64_t> taps_;
    std::int64_t tapZero_ = 0;
    bool tapped_ = false;
    std::vector<InjectedError> errors_;
    Evaluation evaluation_;
};

}  // namespace kalvintor::rhythm
