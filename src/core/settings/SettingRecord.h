// The 816-byte program settings record of one user (or the shared settings) and its in-memory form.
#pragma once

#include "records/Binary.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kalvintor::settings {

// Offsets of the fields in the stored record.
namespace offsets {
inline constexpr std::size_t kKey = 0;
inline constexpr std::size_t kMainLeft = 4;
inline constexpr std::size_t kMainTop = 8;
inline constexpr std::size_t kMainWidth = 12;
inline constexpr std::size_t kMainHeight = 16;
inline constexpr std::size_t kMainState = 20;
inline constexpr std::size_t kToolWindows = 24;
inline constexpr std::size_t kToolWindowSize = 28;
inline constexpr std::size_t kColumnLayout = 304;
inline constexpr std::size_t kColumnLayoutSize = 144;
inline constexpr std::size_t kStatisticsPeriod = 448;
inline constexpr std::size_t kFontName = 450;
inline constexpr std::size_t kFontSize = 532;
inline constexpr std::size_t kFontStyle = 536;
inline constexpr std::size_t kLanguage = 537;
inline constexpr std::size_t kWizardDone = 557;
inline constexpr std::size_t kAnswerInputs = 559;
inline constexpr std::size_t kAnswerInputMethod = 587;
inline constexpr std::size_t kShowKeyNames = 588;
inline constexpr std::size_t kMidiInputDevice = 590;
inline constexpr std::size_t kMidiOutputDevice = 638;
inline constexpr std::size_t kMidiVolume = 686;
inline constexpr std::size_t kPianoVoice = 688;
inline constexpr std::size_t kGuitarVoice = 696;
inline constexpr std::size_t kRhythmSound = 704;
inline constexpr std::size_t kMetronomeClick = 712;
inline constexpr std::size_t kFirstBeatClick = 720;
inline constexpr std::size_t kMidiInputEnabled = 728;
inline constexpr std::size_t kDamperAsEnter = 729;
inline constexpr std::size_t kControlByMidiTones = 730;
inline constexpr std::size_t kLightGuitar = 731;
inline constexpr std::size_t kControlKeys = 732;
inline constexpr std::size_t kColour = 740;
inline constexpr std::size_t kRhythmSpacing = 744;
inline constexpr std::size_t kVisualMetronome = 745;
inline constexpr std::size_t kMetronomePlaying = 746;
inline constexpr std::size_t kPitchTempo = 747;
inline constexpr std::size_t kWaveVolume = 748;
inline constexpr std::size_t kSoundEffects = 750;
inline constexpr std::size_t kCorrectSound = 752;
inline constexpr std::size_t kWrongSound = 772;
inline constexpr std::size_t kRhythmSensitivity = 792;
inline constexpr std::size_t kToneSensitivity = 793;
inline constexpr std::size_t kHighPrecision = 795;
inline constexpr std::size_t kSyncDelay = 796;
inline constexpr std::size_t kAutoNewQuestion = 800;
inline constexpr std::size_t kAutoNewQuestionDelay = 801;
inline constexpr std::size_t kOnlyIfCorrect = 802;
inline constexpr std::size_t kRhythmPassThreshold = 803;
inline constexpr std::size_t kTipsToShow = 804;
inline constexpr std::size_t kIntroMusic = 808;
inline constexpr std::size_t kRhythmWithMetronome = 809;
inline constexpr std::size_t kStartInTutorMode = 810;
}  // namespace offsets

inline constexpr std::size_t kSettingRecordSize = 816;
inline constexpr int kToolWindowCount = 6;
inline constexpr int kExerciseCount = 10;
inline constexpr int kControlButtonCount = 5;

// Four unsigned 16-bit words: channel, program, velocity, key.
struct TSoundRec {
    std::uint16_t channel = 0;
    std::uint16_t program = 0;
    std::uint16_t velocity = 0;
    std::uint16_t key = 0;

    friend bool operator==(const TSoundRec&, const TSoundRec&) = default;
};

enum class DockSide : std::uint8_t { Floating = 0, Top = 1, Bottom = 3 };

struct ToolWindowLayout {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t dockRow = 0;
    std::int32_t dockPosition = 0;
    std::uint8_t dockSide = 0;  // a DockSide value as stored; other values are kept as they are
};

// Answer-input mask bits per exercise.
enum AnswerInput : std::uint8_t { kAnswerNames = 1, kAnswerPiano = 2, kAnswerGuitar = 4, kAnswerNotesheet = 8 };

struct ExerciseInput {
    std::uint8_t mask = 0;        // AnswerInput bits
    std::uint8_t instrument = 0;  // set by the configuration wizard; exercise 1's chooses pictures
};

// Bytes 579..586 of the built-in record hold the pair 9, 2 four times; no field names them.
constexpr std::array<std::uint8_t, kSettingRecordSize> unnamedDefaultBytes() {
    std::array<std::uint8_t, kSettingRecordSize> bytes{};
    for (std::size_t o = 579; o <= 586; o += 2) {
        bytes[o] = 9;
        bytes[o + 1] = 2;
    }
    return bytes;
}

// The in-memory settings. Bytes that no field names are kept in `raw`, so that a record read and
// written back is unchanged byte for byte.
struct Settings {
    std::int16_t key = 1;
    std::int32_t mainLeft = 0, mainTop = 0, mainWidth = 0, mainHeight = 0;
    std::uint8_t mainState = 0;
    std::array<ToolWindowLayout, kToolWindowCount> toolWindows{};
    std::array<std::uint8_t, offsets::kColumnLayoutSize> columnLayout{};
    std::uint16_t statisticsPeriod = 2;
    std::string fontName = "Arial";
    std::int32_t fontSize = 9;
    std::uint8_t fontStyle = 0;
    std::string language = "English";
    bool wizardDone = false;
    std::array<ExerciseInput, kExerciseCount> answerInputs{};  // index 0 = exercise 1
    std::uint8_t answerInputMethod = 0;
    bool showKeyNames = false;
    std::string midiInputDevice;
    std::string midiOutputDevice;
    std::uint8_t midiVolume = 240;
    TSoundRec pianoVoice{0, 0, 110, 60};
    TSoundRec guitarVoice{1, 24, 110, 60};
    TSoundRec rhythmSound{9, 0, 110, 39};
    TSoundRec metronomeClick{9, 0, 110, 37};
    TSoundRec firstBeatClick{9, 0, 125, 56};
    bool midiInputEnabled = false;
    bool damperAsEnter = true;
    bool controlByMidiTones = false;
    bool lightGuitar = false;
    std::array<std::uint8_t, kControlButtonCount> controlKeys{36, 38, 40, 41, 43};
    std::int32_t colour = 0x00A0D0E8;
    std::uint8_t rhythmSpacing = 0;
    bool visualMetronome = false;
    bool metronomePlaying = true;
    std::uint8_t pitchTempo = 90;
    std::uint8_t waveVolume = 110;
    bool soundEffects = true;
    std::string correctSound = "Correct";
    std::string wrongSound = "Wrong";
    std::uint8_t rhythmSensitivity = 2;
    std::uint8_t toneSensitivity = 3;
    bool highPrecision = false;
    std::int32_t syncDelay = 0;
    bool autoNewQuestion = false;
    std::uint8_t autoNewQuestionDelay = 4;
    bool onlyIfCorrect = false;
    std::uint8_t rhythmPassThreshold = 90;
    std::uint32_t tipsToShow = 0x0000FFFF;
    bool introMusic = true;
    bool rhythmWithMetronome = false;
    bool startInTutorMode = true;

    std::array<std::uint8_t, kSettingRecordSize> raw = unnamedDefaultBytes();
};

using SettingBytes = std::array<std::uint8_t, kSettingRecordSize>;

// The built-in default record: the defaults above, bytes 579..586 holding the pair 9, 2 four
// times, every other byte 0.
const SettingBytes& defaultSettingBytes();
Settings defaultSettings();

// Reads a stored record. A buffer of any other size than the record's is refused.
std::optional<Settings> decodeSettings(records::Bytes bytes);
SettingBytes encodeSettings(const Settings& settings);

}  // namespace kalvintor::settings
