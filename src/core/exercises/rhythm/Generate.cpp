// Making a random rhythm of whole bars from the choice list and the chosen meters.
#include "app/Random.h"
#include "exercises/rhythm/Beam.h"
#include "exercises/rhythm/Rytme.h"

namespace kalvintor::rhythm {
namespace {

constexpr int kMaxTries = 1000;
constexpr int kTripletAnywhereAfter = 100;  // tries after which a triplet may start anywhere
constexpr int kEighthGrid = 168;            // an eighth after the first note starts on a sixteenth

std::int32_t dottedLength(std::int32_t d) {
    return d * 3 / 2;
}

// A tie between two notes of a quarter or longer is kept only where it binds inside a bar: not
// into a note that ends the bar, not from the first note, not from a note that starts a bar.
void cleanUpTie(Voice& v, std::size_t current) {
    if (current == 0) return;
    auto& previous = v[current - 1];
    const bool startsBar = current >= 2 && v[current - 2].endsBar;
    if (previous.tied && previous.value <= kQuarter && v[current].value <= kQuarter &&
        (v[current].endsBar || current == 1 || startsBar))
        previous.tied = false;
}

}  // namespace

bool TRytme::tryChoice(std::size_t index, int p, bool firstNote, int tries, std::int32_t& d,
                       NoteKind& kind) const {
    const Choice& choice = choices_[index];
    const int bar = BarLength();
    const int group = GroupLength();
    const int unit = Unit();
    d = NoteDurations[static_cast<std::size_t>(choice.value)];
    kind = NoteKind::Plain;

    if (choice.triplet) {
        d *= 2;
        kind = NoteKind::Triplet;
        const bool placed = p % bar % group == 0 || (p + d) % bar % group == 0 ||
                            meterIndex_ == kMeterTwoTwo || tries > kTripletAnywhereAfter;
        if (!placed) return false;
    } else if (dotted_ && choice.value <= kEighth && app::Random(3) == 1) {
        const bool shortestPlain = static_cast<int>(index) == plainCount_ - 1;
        const std::int32_t dd = dottedLength(d);
        // The shortest value is dotted only where dotted notes of it fill the bar exactly.
        if (!shortestPlain || (bar / dd < 4 && bar % dd == 0 && (bar - p % bar) % dd == 0)) {
            kind = NoteKind::Dotted;
            d = dd;
        }
    }

    if (choice.value == kEighth && !firstNote && p % kEighthGrid != 0) return false;

    const bool withinUnit = p % unit + d <= unit;
    if (!withinUnit) {
        const bool onUnit = p % unit == 0 || (p + d) % unit == 0;
        const bool sameBar = (p + d - 1) / bar == p / bar;
        const bool longEnough = valueDenominator(choice.value) <= CurrentMeter().denominator;
        if (!onUnit || !sameBar || !longEnough) return false;
    }

    const int r = bar - (p + d) % bar;
    return r == bar || r % smallestFit_ == 0 || (dotted_ && r % dottedLength(smallestFit_) == 0);
}

bool TRytme::endsOnBeat(int p) const {
    const Meter& m = CurrentMeter();
    int a = p % BarLength();
    int beat = m.beatLength(0);
    if (m.groupCount == 2 && a > m.groupLength()) {
        a -= m.groupLength();
        beat = m.beatLength(1);
    }
    return a % beat == 0;
}

void TRytme::appendNote(int value, NoteKind kind, std::int32_t d, int& p) {
    Voice& v = voices_[0];
    const bool first = v.empty();
    const int bar = BarLength();
    p += d;
    TRhythmNote n;
    n.value = value;
    n.kind = kind;
    n.duration = d;
    n.rest = rests_ && app::Random(8) == 0 && (first || !v.back().rest);
    n.tied = ties_ && !n.rest && p % bar % GroupLength() == 0 && (first || !v.back().tied) &&
             value >= kHalf && app::Random(3) == 0;
    n.endsBar = p % bar == 0;
    n.onBeat = endsOnBeat(p);
    v.push_back(n);

    cleanUpTie(v, v.size() - 1);
}

void TRytme::appendTriplet(int value, std::int32_t d, int& p) {
    Voice& v = voices_[0];
    if (!v.empty()) v.back().onBeat = true;
    const std::size_t first = v.size();
    const std::int32_t member = d / 3;
    for (int k = 0; k < 3; ++k) {
        p += member;
        TRhythmNote n;
        n.value = value;
        n.kind = NoteKind::Triplet;
        n.duration = member;
        n.tripletMiddle = k == 1;
        n.endsBar = k == 2 && p % BarLength() == 0;
        n.onBeat = k == 2;
        v.push_back(n);
    }
    cleanUpTie(v, first);
}

void TRytme::finishVoice() {
    Voice& v = voices_[0];
    if (v.empty()) return;
    v.back().tied = false;
    if (v.size() == 1) v.front().rest = false;
    rhythm::Beam(v, CurrentMeter());
    startsWithBarRest_ = v.front().rest && v.front().duration == BarLength();
}

GenerateOutcome TRytme::Generate() {
    if (choices_.empty() || meters_.empty()) return GenerateOutcome::NothingToChoose;

    voices_[0].clear();
    voices_[1].clear();
    errors_.clear();
    startsWithBarRest_ = false;
    meterIndex_ = meters_[static_cast<std::size_t>(app::Random(static_cast<int>(meters_.size())))];
    app::Randomize();

    const int total = barCount_ * BarLength();
    int p = 0;
    GenerateOutcome outcome = GenerateOutcome::Complete;
    while (p < total) {
        std::int32_t d = 0;
        NoteKind kind = NoteKind::Plain;
        std::size_t index = 0;
        bool placed = false;
        for (int tries = 0; tries < kMaxTries && !placed; ++tries) {
            index = static_cast<std::size_t>(app::Random(static_cast<int>(choices_.size())));
            placed = tryChoice(index, p, voices_[0].empty(), tries, d, kind);
        }
        if (!placed) {
            outcome = GenerateOutcome::Incomplete;
            if (services_.showMessage)
                services_.showMessage(text(kTextCannotGenerate, kCannotGenerateEnglish));
            break;
        }
        if (kind == NoteKind::Triplet)
            appendTriplet(choices_[index].value, d, p);
        else
            appendNote(choices_[index].value, kind, d, p);
    }
    finishVoice();
    return outcome;
}

}  // namespace kalvintor::rhythm
