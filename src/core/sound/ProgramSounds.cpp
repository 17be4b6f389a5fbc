// The sounds of a timeline.
#include "sound/ProgramSounds.h"

#include "sound/MidiMessage.h"

#include <algorithm>

namespace kalvintor::sound {

namespace {
constexpr std::uint8_t kDrumChannel = 9;
}  // namespace

std::vector<ProgramSound> SoundsToTell(const Timeline& timeline, const MetronomeSettings& metronome,
                                       SoundsTold& told) {
    std::vector<ProgramSound> sounds;
    // Notes still held, by channel and key, as indices into `sounds`.
    std::vector<std::pair<std::uint32_t, std::size_t>> held;
    std::size_t seen1 = 0, seen2 = 0;
    for (const TimedEvent& e : timeline.events) {
        std::size_t& seen = e.track == kClickTrack ? seen2 : seen1;
        const bool fresh = seen++ >= (e.track == kClickTrack ? told.track2 : told.track1);
        if (e.kind != SeqEventKind::Message) continue;
        const std::uint8_t status = StatusOf(e.message);
        const std::uint8_t channel = status & 0x0F;
        const std::uint32_t key = (std::uint32_t{channel} << 8) | Data1Of(e.message);
        if (IsNoteOn(e.message)) {
            if (!fresh) continue;
            if (channel == kDrumChannel) {
                sounds.push_back({ProgramSound::Kind::Click, Data1Of(e.message), e.timeMs, e.timeMs});
            } else {
                held.emplace_back(key, sounds.size());
                sounds.push_back({ProgramSound::Kind::Note, Data1Of(e.message), e.timeMs, timeline.endMs});
            }
        } else if ((status & 0xF0) == kNoteOffStatus || (status & 0xF0) == kNoteOnStatus) {
            const auto on =
                std::find_if(held.begin(), held.end(), [&](const auto& h) { return h.first == key; });
            if (on == held.end()) continue;
            sounds[on->second].toMs = e.timeMs;
            held.erase(on);
        }
    }
    told.track1 = seen1;
    told.track2 = seen2;
    if (metronome.on) {
        for (std::size_t b = told.beats; b < timeline.beats.size(); ++b) {
            const MarkedBeat& beat = timeline.beats[b];
            const int key = beat.firstOfBar ? metronome.firstBeat.key : metronome.click.key;
            sounds.push_back({ProgramSound::Kind::Click, key, beat.timeMs, beat.timeMs});
        }
    }
    told.beats = timeline.beats.size();
    return sounds;
}

}  // namespace kalvintor::sound
