// Layout of the settings record: one field map drives both reading and writing.
#include "settings/SettingRecord.h"

#include <algorithm>

namespace kalvintor::settings {
namespace {

using namespace offsets;
namespace r = kalvintor::records;

struct FieldReader {
    r::Bytes b;
    void u8(std::size_t o, std::uint8_t& v) const { v = r::getU8(b, o); }
    void boolean(std::size_t o, bool& v) const { v = r::getBool(b, o); }
    void u16(std::size_t o, std::uint16_t& v) const { v = r::getU16(b, o); }
    void i16(std::size_t o, std::int16_t& v) const { v = r::getI16(b, o); }
    void i32(std::size_t o, std::int32_t& v) const { v = r::getI32(b, o); }
    void u32(std::size_t o, std::uint32_t& v) const { v = r::getU32(b, o); }
    void text(std::size_t o, std::size_t room, std::string& v) const { v = r::getShortString(b, o, room); }
};

// Writes into a copy of the stored bytes. A boolean or text whose stored bytes already read as the
// value is left alone, so a stored boolean byte other than 1 and a length byte beyond its room
// survive a read and write unchanged.
struct FieldWriter {
    r::MutableBytes b;
    void u8(std::size_t o, const std::uint8_t& v) const { r::putU8(b, o, v); }
    void boolean(std::size_t o, const bool& v) const {
        if (r::getBool(b, o) != v) r::putBool(b, o, v);
    }
    void u16(std::size_t o, const std::uint16_t& v) const { r::putU16(b, o, v); }
    void i16(std::size_t o, const std::int16_t& v) const { r::putI16(b, o, v); }
    void i32(std::size_t o, const std::int32_t& v) const { r::putI32(b, o, v); }
    void u32(std::size_t o, const std::uint32_t& v) const { r::putU32(b, o, v); }
    void text(std::size_t o, std::size_t room, const std::string& v) const {
        if (r::getShortString(b, o, room) != v) r::putShortString(b, o, room, v);
    }
};

template <typename IO, typename Sound>
void mapSound(const IO& io, std::size_t o, Sound& s) {
    io.u16(o, s.channel);
    io.u16(o + 2, s.program);
    io.u16(o + 4, s.velocity);
    io.u16(o + 6, s.key);
}

// Every named field at its offset. S is Settings or const Settings.
template <typename IO, typename S>
void mapFields(const IO& io, S& s) {
    io.i16(kKey, s.key);
    io.i32(kMainLeft, s.mainLeft);
    io.i32(kMainTop, s.mainTop);
    io.i32(kMainWidth, s.mainWidth);
    io.i32(kMainHeight, s.mainHeight);
    io.u8(kMainState, s.mainState);
    for (std::size_t i = 0; i < s.toolWindows.size(); ++i) {
        auto& t = s.toolWindows[i];
        const std::size_t o = kToolWindows + i * kToolWindowSize;
        io.i32(o, t.left);
        io.i32(o + 4, t.top);
        io.i32(o + 8, t.width);
        io.i32(o + 12, t.height);
        io.i32(o + 16, t.dockRow);
        io.i32(o + 20, t.dockPosition);
        io.u8(o + 24, t.dockSide);
    }
    for (std::size_t i = 0; i < s.columnLayout.size(); ++i) io.u8(kColumnLayout + i, s.columnLayout[i]);
    io.u16(kStatisticsPeriod, s.statisticsPeriod);
    io.text(kFontName, 79, s.fontName);
    io.i32(kFontSize, s.fontSize);
    io.u8(kFontStyle, s.fontStyle);
    io.text(kLanguage, 19, s.language);
    io.boolean(kWizardDone, s.wizardDone);
    for (std::size_t i = 0; i < s.answerInputs.size(); ++i) {
        io.u8(kAnswerInputs + 2 * i, s.answerInputs[i].mask);
        io.u8(kAnswerInputs + 2 * i + 1, s.answerInputs[i].instrument);
    }
    io.u8(kAnswerInputMethod, s.answerInputMethod);
    io.boolean(kShowKeyNames, s.showKeyNames);
    io.text(kMidiInputDevice, 47, s.midiInputDevice);
    io.text(kMidiOutputDevice, 47, s.midiOutputDevice);
    io.u8(kMidiVolume, s.midiVolume);
    mapSound(io, kPianoVoice, s.pianoVoice);
    mapSound(io, kGuitarVoice, s.guitarVoice);
    mapSound(io, kRhythmSound, s.rhythmSound);
    mapSound(io, kMetronomeClick, s.metronomeClick);
    mapSound(io, kFirstBeatClick, s.firstBeatClick);
    io.boolean(kMidiInputEnabled, s.midiInputEnabled);
    io.boolean(kDamperAsEnter, s.damperAsEnter);
    io.boolean(kControlByMidiTones, s.controlByMidiTones);
    io.boolean(kLightGuitar, s.lightGuitar);
    for (std::size_t i = 0; i < s.controlKeys.size(); ++i) io.u8(kControlKeys + i, s.controlKeys[i]);
    io.i32(kColour, s.colour);
    io.u8(kRhythmSpacing, s.rhythmSpacing);
    io.boolean(kVisualMetronome, s.visualMetronome);
    io.boolean(kMetronomePlaying, s.metronomePlaying);
    io.u8(kPitchTempo, s.pitchTempo);
    io.u8(kWaveVolume, s.waveVolume);
    io.boolean(kSoundEffects, s.soundEffects);
    io.text(kCorrectSound, 19, s.correctSound);
    io.text(kWrongSound, 19, s.wrongSound);
    io.u8(kRhythmSensitivity, s.rhythmSensitivity);
    io.u8(kToneSensitivity, s.toneSensitivity);
    io.boolean(kHighPrecision, s.highPrecision);
    io.i32(kSyncDelay, s.syncDelay);
    io.boolean(kAutoNewQuestion, s.autoNewQuestion);
    io.u8(kAutoNewQuestionDelay, s.autoNewQuestionDelay);
    io.boolean(kOnlyIfCorrect, s.onlyIfCorrect);
    io.u8(kRhythmPassThreshold, s.rhythmPassThreshold);
    io.u32(kTipsToShow, s.tipsToShow);
    io.boolean(kIntroMusic, s.introMusic);
    io.boolean(kRhythmWithMetronome, s.rhythmWithMetronome);
    io.boolean(kStartInTutorMode, s.startInTutorMode);
}

SettingBytes buildDefaultBytes() {
    return encodeSettings(Settings{});  // member initialisers hold the built-in defaults
}

}  // namespace

const SettingBytes& defaultSettingBytes() {
    static const SettingBytes bytes = buildDefaultBytes();
    return bytes;
}

Settings defaultSettings() { return *decodeSettings(defaultSettingBytes()); }

std::optional<Settings> decodeSettings(records::Bytes bytes) {
    if (bytes.size() != kSettingRecordSize) return std::nullopt;
    Settings s;
    std::copy(bytes.begin(), bytes.end(), s.raw.begin());
    mapFields(FieldReader{bytes}, s);
    return s;
}

SettingBytes encodeSettings(const Settings& settings) {
    SettingBytes out = settings.raw;
    mapFields(FieldWriter{out}, settings);
    return out;
}

}  // namespace kalvintor::settings
