// Matching taps to notes, marks and the score.
#include "exercises/rhythm/Evaluate.h"

#include "exercises/rhythm/NoteValues.h"
#include "language/Language.h"

#include <algorithm>
#include <cstdlib>

namespace kalvintor::rhythm {
namespace {

constexpr int kPerfectScore = 100;
constexpr int kPassAtLeast = 95;
constexpr int kMostlyHitBelowPercent = 10;

// Milliseconds of `ticks` at `tempo`.
std::int64_t ticksToMs(std::int64_t ticks, int tempo) {
    return ticks * kTickTempo / tempo;
}

bool tiedFromPrevious(const Voice& v, std::size_t i) {
    return i > 0 && v[i - 1].tied;
}

}  // namespace

int judgingWindow(Strictness strictness) {
    switch (strictness) {
        case Strictness::Kind:
            return kWindowKind;
        case Strictness::Severe:
            return kWindowSevere;
        case Strictness::Normal:
            break;
    }
    return kWindowNormal;
}

std::vector<std::int64_t> RelativeTaps(const TapTimes& tapTimes, bool startsWithBarRest, int barLength) {
    std::vector<std::int64_t> relative;
    if (tapTimes.taps == nullptr) return relative;
    std::int64_t zero = tapTimes.zero;
    if (startsWithBarRest) zero -= ticksToMs(barLength, std::max(1, tapTimes.tempo));
    relative.reserve(tapTimes.taps->size() + 1);
    for (auto t : *tapTimes.taps) relative.push_back(t - zero);
    return relative;
}

Evaluation EvaluateTaps(Voice& voice, const TapTimes& tapTimes, Strictness strictness, bool startsWithBarRest,
                        int barLength, int passThreshold) {
    Evaluation result;
    const std::vector<std::int64_t> noTaps;
    const auto& taps = tapTimes.taps ? *tapTimes.taps : noTaps;
    const int tempo = std::max(1, tapTimes.tempo);
    const std::size_t count = voice.size();

    if (taps.empty()) {
        for (auto& n : voice) n.mark = Mark::Missed;
        result.missed = static_cast<int>(count);
        return result;
    }

    const int window = judgingWindow(strictness);
    const int deadZone = window / 8;

    // Expected onsets in milliseconds since the first note.
    std::vector<std::int64_t> expected(count);
    std::int64_t ticks = 0;
    for (std::size_t i = 0; i < count; ++i) {
        expected[i] = static_cast<std::int32_t>(ticksToMs(ticks, tempo));
        ticks += voice[i].duration;
        voice[i].mark = Mark::Unmatched;
    }

    result.relativeTaps = RelativeTaps(tapTimes, startsWithBarRest, barLength);
    std::vector<std::int64_t> t = result.relativeTaps;
    t.push_back(kSentinelTap);

    // The notes a tap can stand for; the last note stays a candidate so that a tap at the very end
    // is not counted as extra.
    std::vector<std::size_t> sounding;
    for (std::size_t i = 0; i < count; ++i)
        if ((!voice[i].rest && !tiedFromPrevious(voice, i)) || i + 1 == count) sounding.push_back(i);

    std::vector<std::int64_t> deviation(count, 0);
    std::vector<bool> matched(count, false);
    std::size_t c = 0;  // index into `sounding`; == size once every candidate is taken
    for (std::size_t j = 0; j + 1 < t.size(); ++j) {
        if (c >= sounding.size()) {
            ++result.extraTaps;
            continue;
        }
        while (c + 1 < sounding.size() &&
               std::llabs(expected[sounding[c]] - t[j]) > std::llabs(expected[sounding[c + 1]] - t[j]))
            ++c;
        const std::size_t note = sounding[c];
        if (std::llabs(expected[note] - t[j]) < std::llabs(expected[note] - t[j + 1])) {
            deviation[note] = expected[note] - t[j];
            matched[note] = true;
            ++c;
        } else {
            ++result.extraTaps;
        }
    }

    std::int64_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        auto& n = voice[i];
        if (n.rest || tiedFromPrevious(voice, i)) {
            n.mark = Mark::NotJudged;
            ++result.excluded;
            continue;
        }
        std::int64_t penalty = 0;
        if (!matched[i]) {
            n.mark = Mark::Missed;
            penalty = window;
            ++result.missed;
        } else if (std::llabs(deviation[i]) < deadZone) {
            n.mark = Mark::Exact;
        } else {
            n.mark = deviation[i] > 0 ? Mark::Early : Mark::Late;
            penalty = std::llabs(deviation[i]) - deadZone;
            if (penalty > window) {
                penalty = window;
                n.mark = Mark::Missed;
                ++result.missed;
            }
        }
        sum += penalty * kFullScale / window;
    }

    result.judged = static_cast<int>(count) - result.excluded;
    result.hit = result.judged - result.missed;
    // A voice with nothing to judge (only rests) scores full marks unless it was tapped anyway.
    const std::int64_t total =
        result.judged > 0
            ? std::min<std::int64_t>(kFullScale,
                                     (result.extraTaps * std::int64_t{kExtraTapCost} + sum) / result.judged)
            : (result.extraTaps > 0 ? kFullScale : 0);
    result.score = static_cast<int>((kFullScale - total) / 100);

    if (result.score == kPerfectScore) {
        result.message = EvaluationMessage::Perfect;
    } else if (result.score >= std::max(passThreshold, kPassAtLeast)) {
        result.message = EvaluationMessage::Passed;
    } else {
        const int missedPercent = result.judged > 0 ? result.missed * 100 / result.judged : 100;
        if (missedPercent == 100)
            result.message = EvaluationMessage::AllMissed;
        else if (missedPercent < kMostlyHitBelowPercent)
            result.message = EvaluationMessage::MostlyHit;
        else
            result.message = EvaluationMessage::SomeHit;
    }
    return result;
}

std::string FormatIntegers(const std::string& format, std::initializer_list<int> numbers) {
    std::string out;
    auto next = numbers.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 'd' && next != numbers.end()) {
            out += std::to_string(*next++);
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::string EvaluationText(const Evaluation& e, const language::Language* language) {
    auto text = [&](int id, const char* english) {
        return language ? language->text(id, english) : std::string(english);
    };
    switch (e.message) {
        case EvaluationMessage::None:
            return {};
        case EvaluationMessage::Perfect:
            return text(811, "Perfect! Every note was right on time.");
        case EvaluationMessage::Passed:
            return text(812, "Very good! Nearly every note was on time.");
        case EvaluationMessage::MostlyHit:
            return text(813, "Good: you found nearly every note, but some were not quite on time.");
        case EvaluationMessage::SomeHit:
            return FormatIntegers(text(814, "You hit %d of %d notes."), {e.hit, e.judged});
        case EvaluationMessage::AllMissed:
            return text(816, "No note was hit. Start on the first beat after the count-in.");
    }
    return {};
}

}  // namespace kalvintor::rhythm
