// Turning rhythm text into a beamed voice.
#include "RhythmText.h"

#include "exercises/rhythm/Beam.h"

#include <string>

namespace kalvintor::tools {

using namespace kalvintor::rhythm;

namespace {

int valueOf(char c) {
    switch (c) {
        case 'w':
            return kWhole;
        case 'h':
            return kHalf;
        case 'q':
            return kQuarter;
        case 'e':
            return kEighth;
        case 's':
            return kSixteenth;
        case 't':
            return kThirtySecond;
        default:
            return 0;
    }
}

}  // namespace

std::optional<Voice> ParseRhythm(std::string_view text, const Meter& meter) {
    Voice voice;
    std::int64_t position = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t end = std::min(text.find(' ', i), text.size());
        std::string_view token = text.substr(i, end - i);
        i = end + 1;
        if (token.empty() || token == "|") continue;

        TRhythmNote n;
        const bool triplet = token.front() == '3';
        if (triplet) token.remove_prefix(1);
        if (!token.empty() && token.front() == 'r') {
            n.rest = true;
            token.remove_prefix(1);
        }
        if (token.empty() || valueOf(token.front()) == 0) return std::nullopt;
        n.value = valueOf(token.front());
        n.duration = NoteDurations[static_cast<std::size_t>(n.value)];
        for (char c : token.substr(1)) {
            if (c == '.') {
                n.kind = NoteKind::Dotted;
                n.duration = n.duration * 3 / 2;
            } else if (c == '~') {
                n.tied = true;
            } else {
                return std::nullopt;
            }
        }
        const int members = triplet ? 3 : 1;
        for (int k = 0; k < members; ++k) {
            TRhythmNote m = n;
            if (triplet) {
                m.kind = NoteKind::Triplet;
                m.duration = n.duration * 2 / 3;
                m.tripletMiddle = k == 1;
                m.tied = k == 2 && n.tied;
            }
            position += m.duration;
            m.endsBar = position % meter.barLength() == 0;
            voice.push_back(m);
        }
    }
    if (voice.empty()) return std::nullopt;
    Beam(voice, meter);
    return voice;
}

}  // namespace kalvintor::tools
