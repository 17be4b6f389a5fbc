// Queueing rhythms, metronome bars and recorded taps on the sequencer: the rhythm runs on track 1,
// the clicks on track 2, both starting together at Play.
#include "exercises/rhythm/Rytme.h"
#include "settings/SettingRecord.h"
#include "sound/MidiMessage.h"
#include "sound/TMidiOut.h"

#include <algorithm>

namespace kalvintor::rhythm {
namespace {

using sound::kQuestionTrack;
using sound::SeqEventKind;

// Beat notices reach the main window as beats per bar × 256 + beat number.
constexpr int kBeatNoticeScale = 256;
constexpr std::uint8_t kFirstBeatStep = 0;
constexpr std::uint8_t kOtherBeatStep = 2;
constexpr int kAccentVelocityStep = 10;

std::uint8_t velocity(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, sound::kMaxDataValue));
}

}  // namespace

const settings::Settings& TRytme::settingsInUse() const {
    static const settings::Settings defaults = settings::defaultSettings();
    return services_.settings ? *services_.settings : defaults;
}

void TRytme::queueTrack1(std::int32_t value, sound::SeqEventKind kind) {
    auto* out = services_.midiOut;
    if (out != nullptr && out->Opened()) out->Sequencer().SeqAddEvent(kQuestionTrack, value, kind);
}

void TRytme::queueRhythmNote(std::int64_t ticks, int velocityValue) {
    const auto& sound = settingsInUse().rhythmSound;
    const auto channel = static_cast<std::uint8_t>(sound.channel);
    const auto key = static_cast<std::uint8_t>(std::min<int>(sound.key, sound::kMaxDataValue));
    queueTrack1(static_cast<std::int32_t>(sound::NoteOnMessage(channel, key, velocity(velocityValue))),
                SeqEventKind::Message);
    queueTrack1(static_cast<std::int32_t>(std::max<std::int64_t>(0, ticks)), SeqEventKind::Delay);
    queueTrack1(static_cast<std::int32_t>(sound::NoteOffMessage(channel, key)), SeqEventKind::Message);
}

void TRytme::PlayMetronomeBar(bool generate, std::uint16_t lastCode, std::uint16_t penultimateCode,
                              bool delayTrack1, bool audible) {
    if (auto* out = services_.midiOut) {
        const auto& s = settingsInUse();
        const int beats = CurrentMeter().numerator;
        const auto unit = static_cast<std::uint16_t>(Unit());
        const auto notice = [&](int beat) {
            return static_cast<std::uint16_t>(beats * kBeatNoticeScale + beat);
        };
        out->QueueSound(unit, kFirstBeatStep, notice(1), beats < 3 ? penultimateCode : 0, s.firstBeatClick,
                        !audible);
        for (int beat = 2; beat < beats; ++beat)
            out->QueueSound(unit, kOtherBeatStep, notice(beat), beat == beats - 1 ? penultimateCode : 0,
                            s.metronomeClick, !audible);
        out->QueueSound(unit, kOtherBeatStep, notice(beats), lastCode, s.metronomeClick, !audible);
        if (delayTrack1) queueTrack1(BarLength(), SeqEventKind::Delay);
        out->Play();
    }
    if (generate) Generate();
}

void TRytme::PlayMetronomeBars(std::uint16_t base, int bars) {
    const int count = bars < 0 ? barCount_ : bars;
    for (int i = 0; i < count; ++i)
        PlayMetronomeBar(false, static_cast<std::uint16_t>(base + kClickBarEnded), 0, true, true);
    if (auto* out = services_.midiOut) {
        // The notice follows the bars already playing: it joins the playback only when started.
        out->QueueNotify(static_cast<std::uint16_t>(base + kClickBarsEnded));
        out->Play();
    }
}

void TRytme::PlayRhythm(std::uint16_t base, int v, bool countIn) {
    const Voice& notes = voice(v);
    if (countIn) PlayMetronomeBar(false, static_cast<std::uint16_t>(base + kCountInEnded), 0, true, true);
    const bool withClicks = settingsInUse().rhythmWithMetronome;
    for (int bar = 0; bar < barCount_; ++bar)
        PlayMetronomeBar(false, static_cast<std::uint16_t>(base + kRhythmBarEnded), 0, false, withClicks);

    const int unit = Unit();
    const int barLength = BarLength();
    const int fullVelocity = settingsInUse().rhythmSound.velocity;
    std::int64_t s = 0;
    for (std::size_t i = 0; i < notes.size();) {
        const auto& n = notes[i];
        if (n.rest) {
            queueTrack1(n.duration, SeqEventKind::Delay);
            s += n.duration;
            ++i;
            continue;
        }
        // Accents: a beat start (or a triplet's first note) and, more, a bar start.
        const bool onUnit = s % unit == 0 || (i + 1 < notes.size() && notes[i + 1].tripletMiddle);
        const int accent = 2 - (onUnit ? 1 : 0) - (s % barLength == 0 ? 1 : 0);
        // A chain of tied notes sounds as one note.
        std::int64_t length = n.duration;
        std::size_t next = i + 1;
        while (notes[next - 1].tied && next < notes.size() && !notes[next].rest)
            length += notes[next++].duration;
        queueRhythmNote(length, fullVelocity - kAccentVelocityStep * accent);
        s += length;
        i = next;
    }
    if (services_.midiOut) services_.midiOut->Play();
}

void TRytme::PlayTaps(std::uint16_t base) {
    if (taps_.empty() || services_.midiOut == nullptr) return;
    const auto taps = RelativeTaps(TapTimes{&taps_, tapZero_, tapTempo_}, startsWithBarRest_, BarLength());
    const std::int64_t tempo = tapTempo_;
    const std::int64_t barLength = BarLength();
    const auto toTicks = [&](std::int64_t ms) { return ms * tempo / kTickTempo; };

    queueTrack1(static_cast<std::int32_t>(std::max<std::int64_t>(0, toTicks(taps.front()) + barLength)),
                SeqEventKind::Delay);
    PlayMetronomeBar(false, static_cast<std::uint16_t>(base + kCountInEnded), 0, false, true);
    const bool withClicks = settingsInUse().rhythmWithMetronome;
    for (int bar = 0; bar < barCount_; ++bar)
        PlayMetronomeBar(false, static_cast<std::uint16_t>(base + kRhythmBarEnded), 0, false, withClicks);

    const int fullVelocity = settingsInUse().rhythmSound.velocity;
    // Each tap's own time is turned into ticks, not the gaps between taps: where a tick is not a
    // whole millisecond, gaps rounded one by one would add up and the later taps would drift
    // away from the clicks.
    for (std::size_t i = 0; i + 1 < taps.size(); ++i)
        queueRhythmNote(toTicks(taps[i + 1]) - toTicks(taps[i]), fullVelocity);
    queueRhythmNote(barCount_ * barLength - toTicks(taps.back()), fullVelocity);
    services_.midiOut->Play();
}

}  // namespace kalvintor::rhythm
