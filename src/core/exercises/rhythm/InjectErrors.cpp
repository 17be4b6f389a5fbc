// Picking and applying the errors of the correction exercise.
#include "exercises/rhythm/InjectErrors.h"

#include "app/Random.h"
#include "exercises/rhythm/Beam.h"

#include <algorithm>
#include <array>

namespace kalvintor::rhythm {
namespace {

constexpr int kMaxFailedPicks = 100;
constexpr std::array<ErrorKind, 3> kKinds{ErrorKind::Tied, ErrorKind::Split, ErrorKind::Swapped};

bool tiedFromPrevious(const Voice& v, std::size_t a) {
    return a > 0 && v[a - 1].tied;
}

}  // namespace

bool errorApplies(const Voice& v, std::size_t a, ErrorKind kind) {
    if (a >= v.size()) return false;
    const auto& n = v[a];
    const bool hasNext = a + 1 < v.size();
    switch (kind) {
        case ErrorKind::Tied:
            return hasNext && !n.tied && !tiedFromPrevious(v, a) && !v[a + 1].tied && !n.rest &&
                   !v[a + 1].rest;
        case ErrorKind::Split:
            return n.value < kShortestValue && n.kind == NoteKind::Plain && !n.rest && !n.tied &&
                   !tiedFromPrevious(v, a);
        case ErrorKind::Swapped:
            return hasNext && !n.endsBar && !n.tied && !tiedFromPrevious(v, a) && !v[a + 1].tied && !n.rest &&
                   !v[a + 1].rest && n.value != v[a + 1].value && !n.triplet() && !v[a + 1].triplet();
    }
    return false;
}

bool PickErrors(const Voice& voice, int wanted, std::vector<InjectedError>& errors) {
    errors.clear();
    if (voice.empty()) return false;
    const int count = static_cast<int>(voice.size());
    int failedPicks = 0;
    while (static_cast<int>(errors.size()) < wanted) {
        std::size_t a = 0;
        for (;;) {
            a = static_cast<std::size_t>(app::Random(count));
            if (std::any_of(kKinds.begin(), kKinds.end(),
                            [&](ErrorKind k) { return errorApplies(voice, a, k); }))
                break;
            if (++failedPicks > kMaxFailedPicks) return false;
        }
        const int note = static_cast<int>(a);
        // Errors on neighbouring notes would share a note; then fewer errors than wanted remain.
        if (std::any_of(errors.begin(), errors.end(),
                        [&](const InjectedError& e) { return std::abs(e.note - note) <= 1; }))
            break;
        ErrorKind kind;
        do {
            kind = kKinds[static_cast<std::size_t>(app::Random(3))];
        } while (!errorApplies(voice, a, kind));
        const auto at =
            std::find_if(errors.begin(), errors.end(), [&](const InjectedError& e) { return e.note > note; });
        errors.insert(at, InjectedError{note, kind});
    }
    return true;
}

Voice ApplyErrors(const Voice& written, const std::vector<InjectedError>& errors, const Meter& meter) {
    Voice changed;
    changed.reserve(written.size() + errors.size());
    auto error = errors.begin();
    for (std::size_t i = 0; i < written.size(); ++i) {
        while (error != errors.end() && error->note < static_cast<int>(i)) ++error;
        if (error == errors.end() || error->note != static_cast<int>(i) ||
            !errorApplies(written, i, error->kind)) {
            changed.push_back(written[i]);
            continue;
        }
        switch (error->kind) {
            case ErrorKind::Tied: {
                TRhythmNote first = written[i];
                first.tied = true;
                changed.push_back(first);
                changed.push_back(written[i + 1]);
                ++i;
                break;
            }
            case ErrorKind::Split: {
                TRhythmNote half = written[i];
                half.duration /= 2;
                half.value += 1;
                TRhythmNote first = half;
                first.endsBar = false;
                first.onBeat = false;
                changed.push_back(first);
                changed.push_back(half);
                break;
            }
            case ErrorKind::Swapped: {
                TRhythmNote first = written[i + 1];
                TRhythmNote second = written[i];
                first.endsBar = written[i].endsBar;
                second.endsBar = written[i + 1].endsBar;
                changed.push_back(first);
                changed.push_back(second);
                ++i;
                break;
            }
        }
    }
    Beam(changed, meter);
    return changed;
}

}  // namespace kalvintor::rhythm
