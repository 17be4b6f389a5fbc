// Pairing a playback's notes with the notes shown on the staff and the instruments.
#include "exercises/pitch/LightDisplay.h"

#include "sound/MidiMessage.h"

#include <algorithm>

namespace kalvintor::pitch {

std::vector<LightSpan> LightSpans(const sound::Timeline& timeline, const std::vector<QuestionNote>& shown,
                                  std::size_t from, std::size_t to, int transposition, std::uint8_t channel) {
    to = std::min(to, shown.size());
    std::vector<LightSpan> spans;
    std::vector<bool> used(shown.size(), false);
    std::vector<std::size_t> open;  // into spans: lit and not yet ended
    const auto end = [&](double atMs, int key) {
        for (auto it = open.begin(); it != open.end();) {
            LightSpan& span = spans[*it];
            if (key < 0 || shown[static_cast<std::size_t>(span.index)].pitch + transposition == key) {
                span.offMs = atMs;
                it = open.erase(it);
            } else {
                ++it;
            }
        }
    };
    for (const auto& e : timeline.events) {
        if (e.kind != sound::SeqEventKind::Message || e.track != sound::kQuestionTrack) continue;
        const std::uint8_t status = sound::StatusOf(e.message);
        if ((status & 0x0F) != sound::Channel(channel)) continue;
        const int key = sound::Data1Of(e.message);
        if (sound::IsNoteOn(e.message)) {
            for (std::size_t i = from; i < to; ++i) {
                if (used[i] || shown[i].pitch <= 0 || shown[i].pitch + transposition != key) continue;
                used[i] = true;
                open.push_back(spans.size());
                spans.push_back({static_cast<int>(i), e.timeMs, timeline.endMs});
                break;
            }
        } else if ((status & 0xF0) == sound::kNoteOffStatus || (status & 0xF0) == sound::kNoteOnStatus) {
            end(e.timeMs, key);
        } else if ((status & 0xF0) == sound::kControllerStatus && key == sound::kAllNotesOff) {
            end(e.timeMs, -1);
        }
    }
    return spans;
}

std::vector<int> LitAt(const std::vector<LightSpan>& spans, double ms) {
    std::vector<int> lit;
    for (const auto& s : spans)
        if (s.onMs <= ms && ms < s.offMs) lit.push_back(s.index);
    std::sort(lit.begin(), lit.end());
    return lit;
}

double LightsOutMs(const std::vector<LightSpan>& spans) {
    double last = 0;
    for (const auto& s : spans) last = std::max(last, s.offMs);
    return last;
}

}  // namespace kalvintor::pitch
