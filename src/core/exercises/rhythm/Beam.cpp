// Beam groups and partial-beam sides of a voice.
#include "exercises/rhythm/Beam.h"

#include <map>

namespace kalvintor::rhythm {
namespace {

bool beamable(const TRhythmNote& n) {
    return n.value >= kEighth;
}

// A partial beam points towards the larger subdivision it belongs to: right when the note starts
// on a unit (or half or quarter unit), left when it ends on one.
BeamSide sideOf(int start, int end, int unit) {
    for (int division = unit; division > 0; division /= 2) {
        if (start % division == 0) return BeamSide::Right;
        if (end % division == 0) return BeamSide::Left;
        if (division == unit / 4) break;
    }
    return BeamSide::Right;
}

// A beam needs two stems: a group left with fewer than two sounding notes is dissolved.
void dissolveSingleNoteGroups(Voice& voice) {
    std::map<int, int> members;
    for (const auto& n : voice)
        if (n.beamGroup != 0) ++members[n.beamGroup];
    for (auto& n : voice)
        if (n.beamGroup != 0 && members[n.beamGroup] < 2) n.beamGroup = 0;
}

}  // namespace

void Beam(Voice& voice, const Meter& meter) {
    const int unit = meter.unit();
    const int bar = meter.barLength();
    const int groupLength = meter.groupLength();
    const std::size_t count = voice.size();

    int position = 0;  // ticks since the last bar line
    int group = 0;
    auto advance = [&](const TRhythmNote& n) {
        position += n.duration;
        if (position >= bar) position %= bar;
    };

    std::size_t i = 0;
    while (i < count) {
        // Notes in front of a group: quarter and longer, and rests.
        while (i < count && (!beamable(voice[i]) || voice[i].rest)) {
            voice[i].beamGroup = 0;
            advance(voice[i]);
            ++i;
        }
        if (i == count) break;

        ++group;
        int members = 0;
        std::size_t lastMember = i;
        while (i < count && beamable(voice[i])) {
            auto& n = voice[i];
            const int start = position;
            const int end = start + n.duration;
            if (n.rest) {
                n.beamGroup = 0;
            } else {
                n.beamGroup = group;
                n.beamSide = sideOf(start, end, unit);
                ++members;
                lastMember = i;
            }
            advance(n);
            if (end % groupLength == 0 || end % bar == 0) {
                if (members == 1) voice[lastMember].beamGroup = 0;
                ++group;
                members = 0;
            }
            ++i;
        }
        if (members == 1) voice[lastMember].beamGroup = 0;
    }

    dissolveSingleNoteGroups(voice);

    // Partial beams next to a break point away from it, and nothing stays tied into a rest.
    for (std::size_t k = 0; k < count; ++k) {
        const bool hasNext = k + 1 < count;
        if (voice[k].rest) {
            if (k == 0) {
                if (hasNext) voice[k + 1].beamSide = BeamSide::Right;
                continue;
            }
            const int nextGroup = hasNext ? voice[k + 1].beamGroup : 0;
            if (voice[k - 1].beamGroup != nextGroup) {
                if (hasNext) voice[k + 1].beamSide = BeamSide::Right;
                voice[k - 1].beamSide = BeamSide::Left;
            }
            voice[k - 1].tied = false;
        } else if (!beamable(voice[k]) && k > 0) {
            if (hasNext) voice[k + 1].beamSide = BeamSide::Right;
            voice[k - 1].beamSide = BeamSide::Left;
        }
    }
}

}  // namespace kalvintor::rhythm
