// Melody questions: a rhythm, harmonic segments over a progression, a key, and a constrained
// random walk over the notes of a scale, built backwards from the last note.
#include "exercises/pitch/Generation.h"

#include "app/Random.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace kalvintor::pitch {

using app::Random;
using theory::floorDiv;
using theory::floorMod;

namespace {

inline constexpr int kBarTicks = 2688;
inline constexpr int kBeatTicks = 672;
inline constexpr std::array<std::uint8_t, 4> kBeatWeights{2, 1, 0, 1};
inline constexpr int kMaxMelodyNotes = 11;
inline constexpr int kMaxSteps = 7;  // an octave, in scale steps
inline constexpr int kValueTries = 201;
inline constexpr int kLastNoteTries = 601;
inline constexpr int kNoteTries = 401;
// Candidate positions of the pitch tables, in scale steps from the tonic reference.
inline constexpr int kLowestPosition = -13;
inline constexpr int kHighestPosition = 11;
inline constexpr int kPositions = kHighestPosition - kLowestPosition + 1;

int ticksOf(std::uint8_t value) {
    return value == kWholeNote ? kBarTicks : value == kHalfNote ? kBarTicks / 2 : kBeatTicks;
}

// Beat weights and bar ends from the note values; the last note is always strong.
void markBars(std::vector<QuestionNote>& notes) {
    int position = 0;
    for (auto& note : notes) {
        note.beatWeight = kBeatWeights[static_cast<std::size_t>((position % kBarTicks) / kBeatTicks)];
        position += ticksOf(note.noteValue);
        note.endMark = position % kBarTicks == 0 ? kEndOfChord : 0;
    }
    notes.back().beatWeight = 2;
}

void drawRhythm(std::vector<QuestionNote>& notes) {
    const int n = static_cast<int>(notes.size());
    int position = 0;
    for (int i = 0; i < n; ++i) {
        auto& note = notes[static_cast<std::size_t>(i)];
        note.noteValue = kQuarterNote;  // always fits: positions stay on beats
        for (int tries = 0; tries < kValueTries; ++tries) {
            int v = Random(6) + 1;
            v = v == 4 ? kHalfNote : v >= 5 ? kQuarterNote : v;
            const bool wholeAllowed =
                (i == 0 || notes[static_cast<std::size_t>(i - 1)].noteValue != kWholeNote) && i < n - 3;
            const bool fits = position % kBarTicks + ticksOf(static_cast<std::uint8_t>(v)) <= kBarTicks;
            if ((v > kWholeNote || wholeAllowed) && fits) {
                note.noteValue = static_cast<std::uint8_t>(v);
                break;
            }
        }
        position += ticksOf(note.noteValue);
    }
    // Fill the last bar.
    auto& last = notes.back();
    const int quarters = (position % kBarTicks) / kBeatTicks;
    QuestionNote* before = n >= 2 ? &notes[static_cast<std::size_t>(n - 2)] : nullptr;
    if (quarters == 1) {
        last.noteValue = kWholeNote;
    } else if (quarters == 2) {
        if (last.noteValue == kHalfNote || before == nullptr) {
            last.noteValue = kWholeNote;
        } else {
            before->noteValue = kHalfNote;
            last.noteValue = kHalfNote;
        }
    } else if (quarters == 3) {
        if (last.noteValue == kHalfNote && before != nullptr)
            before->noteValue = kHalfNote;
        else
            last.noteValue = kHalfNote;
    } else if (last.noteValue == kQuarterNote && before != nullptr) {
        if (before->noteValue == kQuarterNote) {
            before->noteValue = kHalfNote;
            last.noteValue = kWholeNote;
        } else {
            before->noteValue = kQuarterNote;
            last.noteValue = kHalfNote;
        }
    }
    markBars(notes);
}

// Segment (1-based chord number) of every note, spreading the chords over the bars from the end.
std::vector<int> harmonicSegments(const std::vector<QuestionNote>& notes, int chordCount) {
    const int n = static_cast<int>(notes.size());
    std::vector<int> segments(notes.size(), 1);
    int c = std::max(1, chordCount);
    for (int i = n - 1; i >= 0; --i) {
        segments[static_cast<std::size_t>(i)] = c;
        if (i == 0 || notes[static_cast<std::size_t>(i - 1)].endMark == 0) continue;
        int barsLeft = 0;
        for (int k = 0; k < i; ++k) barsLeft += notes[static_cast<std::size_t>(k)].endMark != 0 ? 1 : 0;
        if (c >= barsLeft || Random(barsLeft / c + (i == n - 1 ? 1 : 4)) == 1) c = std::max(1, c - 1);
    }
    return segments;
}

struct Candidate {
    int pitch = 0;
    int spellOffset = 0;
    bool chordTone = true;
};
using PitchTable = std::array<Candidate, kPositions>;

// The scale's notes at positions from kLowestPosition up, one scale step per position and
// position 0 on the scale's first note. A scale stored with its closing octave (C .. C) has one
// degree fewer than notes: counting the octave as a degree of its own would give two positions
// the same pitch, which the walk would take for a step.
PitchTable pitchTable(const theory::CatalogueEntry& scale, int reference, const KeyContext& key,
                      const std::vector<int>& chordPitchClasses) {
    PitchTable table{};
    const int count = scale.noteCount();
    const bool closed = count > 1 && scale.notes[static_cast<std::size_t>(count - 1)].pitch ==
                                         scale.notes[0].pitch + theory::kOctave;
    const int degrees = closed ? count - 1 : count;
    for (int j = kLowestPosition; j <= kHighestPosition; ++j) {
        const int number = floorMod(j, degrees);
        const int octaves = floorDiv(j, degrees);
        const auto& note = scale.notes[static_cast<std::size_t>(number)];
        auto& candidate = table[static_cast<std::size_t>(j - kLowestPosition)];
        candidate.pitch = note.pitch - theory::kMiddleC + reference + 12 * octaves;
        // Spelled from the major key whose notes the scale uses: a mode's own first note is no
        // major tonic, and counting letters from it would write G as F double sharp in F sharp
        // Phrygian.
        candidate.spellOffset = theory::SpellInKey(candidate.pitch, note.spellOffset, 0, key.keySig);
        candidate.chordTone =
            chordPitchClasses.empty() || std::find(chordPitchClasses.begin(), chordPitchClasses.end(),
                                                   floorMod(candidate.pitch, 12)) != chordPitchClasses.end();
    }
    return table;
}

// How many positions `to`'s frame lies above `from`'s: where `to` has the pitch that `from` has
// at position 0 (the nearest pitch when the scales differ).
int frameShift(const PitchTable& to, const PitchTable& from) {
    const int origin = from[static_cast<std::size_t>(-kLowestPosition)].pitch;
    int best = 0;
    int bestDistance = 1000;
    for (int j = kLowestPosition; j <= kHighestPosition; ++j) {
        const int distance = std::abs(to[static_cast<std::size_t>(j - kLowestPosition)].pitch - origin);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = j;
        }
    }
    return best;
}

int randomEnabledKey(const MelodySetup& melody) {
    std::vector<int> keys;
    for (int keySig = kFirstMelodyKeySig; keySig < kFirstMelodyKeySig + kMelodyKeyCount; ++keySig)
        if (melody.keyOn(keySig)) keys.push_back(keySig);
    if (keys.empty()) return 0;
    return keys[static_cast<std::size_t>(Random(static_cast<int>(keys.size())))];
}

}  // namespace

GenerateResult GenerateMelody(PitchExerciseState& state, const theory::ChordCatalogue& catalogue) {
    const auto& m = state.melody;
    const int n = std::clamp<int>(m.length, 1, kMaxMelodyNotes);
    int leap = std::clamp<int>(m.largestLeap, 1, kMaxSteps);
    int ambitus = std::clamp<int>(m.ambitus, 1, kMaxSteps);
    const int type = m.melodyType <= melody_types::kLast ? m.melodyType : 0;
    const int lower = std::min(m.lowerLimit, m.upperLimit);
    const int upper = std::max(m.lowerLimit, m.upperLimit);
    const bool overProgression = type >= melody_types::kFirstProgression;
    const bool chromatic = type == melody_types::kChromatic;

    std::vector<QuestionNote> notes(static_cast<std::size_t>(n));
    if (state.options.rhythm) {
        drawRhythm(notes);
    } else {
        for (int i = 0; i < n; ++i) {
            auto& note = notes[static_cast<std::size_t>(i)];
            note.noteValue = kWholeNote;
            note.beatWeight = kBeatWeights[static_cast<std::size_t>(i % 4)];
            note.endMark = kEndOfChord;
        }
        notes.back().beatWeight = 2;
    }

    const theory::CatalogueEntry* progression = nullptr;
    if (overProgression) {
        progression =
            &catalogue.progressions().entry(melody_types::kProgressionEntries[static_cast<std::size_t>(
                type - melody_types::kFirstProgression)]);
    }
    const int chordCount = progression != nullptr ? std::max(1, progression->noteCount()) : 1;
    const auto segments = harmonicSegments(notes, progression != nullptr ? chordCount : 1);

    // The key and the tonic reference r.
    KeyContext key;
    key.minor = m.typeIsMinor();
    int reference = 0;
    if (chromatic || type == melody_types::kWholeTone) {
        if (chromatic) {
            ambitus = theory::StepSemitones(ambitus);
            leap = theory::StepSemitones(leap);
        } else if (n == 1) {
            ambitus = 6;
        }
        reference = lower + Random(upper - lower);
        key.keySig = chromatic ? 1 : 0;
    } else {
        if (n == 1) ambitus = 6;
        key.keySig = randomEnabledKey(m);
        if (m.typeIsMode())
            key.tonicOffset = catalogue.scales().entry(type + 1).notes[0].pitch - theory::kMiddleC;
        const int tonic = theory::KeyTonic(key.keySig);
        const int p = lower + Random(upper - lower);
        // The tonic nearest p. Counting from p's own octave instead would put the tonic up to
        // 17 semitones above p, out of reach of the limits for narrow ranges.
        const int below = floorMod(p - tonic, 12);
        reference = p - below + (below > 6 ? 12 : 0);
        if (reference + key.tonicOffset < lower) reference += 12;
        if (reference + key.tonicOffset > upper) reference -= 12;
    }

    // One pitch table per segment.
    std::vector<PitchTable> tables;
    if (!chromatic) {
        for (int segment = 1; segment <= chordCount; ++segment) {
            const theory::CatalogueEntry* scale = &catalogue.scales().entry(type + 1);
            std::vector<int> chordPitchClasses;
            if (progression != nullptr) {
                const auto& chord = progression->notes[static_cast<std::size_t>(segment - 1)];
                const int chordType = chord.extra;
                scale = &catalogue.scales().entry(chordType == 1 || chordType == 3 || chordType == 6 ? 6 : 1);
                // Progressions are stored on C, a minor one on C minor: its chords lie on the
                // minor tonic, three semitones below the major tonic the reference stands on.
                const int chordRoot = chord.pitch - theory::kMiddleC + reference - (key.minor ? 3 : 0);
                if (chordType + 1 <= theory::kCatalogueEntries) {
                    const auto& chordEntry = catalogue.chordTypes().entry(chordType + 1);
                    for (int k = 0; k < chordEntry.noteCount(); ++k)
                        chordPitchClasses.push_back(
                            floorMod(chordEntry.notes[static_cast<std::size_t>(k)].pitch - theory::kMiddleC +
                                         chordRoot,
                                     12));
                }
                if (chordPitchClasses.empty()) chordPitchClasses.push_back(floorMod(chordRoot, 12));
            }
            if (scale->noteCount() == 0) return GenerateResult::MelodyFailed;
            tables.push_back(pitchTable(*scale, reference, key, chordPitchClasses));
        }
    }

    auto candidateAt = [&](int segment, int j) -> std::optional<Candidate> {
        if (chromatic) return Candidate{reference + j, 0, true};
        if (j < kLowestPosition || j > kHighestPosition) return std::nullopt;
        return tables[static_cast<std::size_t>(segment - 1)][static_cast<std::size_t>(j - kLowestPosition)];
    };
    auto inLimits = [&](int pitch) { return pitch >= lower && pitch <= upper; };

    std::vector<int> positions(static_cast<std::size_t>(n));
    auto place = [&](int i, int j, const Candidate& c) {
        auto& note = notes[static_cast<std::size_t>(i)];
        note.pitch = c.pitch;
        // Whole-tone and chromatic melodies follow no scale of a key: their black keys are
        // written as an instrument enters them, flats in the whole-tone melody (no signature)
        // and sharps in the chromatic one.
        note.spellOffset = (chromatic || type == melody_types::kWholeTone)
                               ? theory::DefaultSpelling(c.pitch, key.keySig)
                               : c.spellOffset;
        note.extra = c.chordTone ? kChordTone : kNonChordTone;
        positions[static_cast<std::size_t>(i)] = j;
    };

    // The last note: on the tonic's 1, 3 or 5, or for a single note anywhere within six steps.
    {
        const int last = n - 1;
        const int patience = n == 1 ? 0 : 6;
        int valid = 0;
        bool placed = false;
        for (int tries = 0; tries < kLastNoteTries && !placed; ++tries) {
            const int j = n == 1 ? Random(13) - 6 : Random(3) * 2;
            const auto c = candidateAt(segments[static_cast<std::size_t>(last)], j);
            if (!c || !inLimits(c->pitch)) continue;
            ++valid;
            if (c->chordTone || valid > patience) {
                place(last, j, *c);
                placed = true;
            }
        }
        if (!placed) return GenerateResult::MelodyFailed;
    }

    // The earlier notes, walking backwards.
    int low = positions.back();
    int high = positions.back();
    for (int i = n - 2; i >= 0; --i) {
        const auto following = notes[static_cast<std::size_t>(i + 1)];
        const int segment = segments[static_cast<std::size_t>(i)];
        const int followingSegment = segments[static_cast<std::size_t>(i + 1)];
        if (segment != followingSegment && !chromatic) {
            // The chords' scales start on different notes (the minor one a third lower), so a
            // position means another pitch in the next table: carry the positions over by pitch,
            // or leaps and the ambitus would be counted from the wrong note.
            const int shift = frameShift(tables[static_cast<std::size_t>(segment - 1)],
                                         tables[static_cast<std::size_t>(followingSegment - 1)]);
            for (int k = i + 1; k < n; ++k) positions[static_cast<std::size_t>(k)] += shift;
            low += shift;
            high += shift;
        }
        const int j0 = positions[static_cast<std::size_t>(i + 1)];
        int patience = 0;
        if (i == 0 || segment != segments[static_cast<std::size_t>(i + 1)])
            patience = 10;
        else if (notes[static_cast<std::size_t>(i)].endMark != 0)
            patience = 5;
        int valid = 0;
        bool placed = false;
        for (int tries = 0; tries < kNoteTries && !placed; ++tries) {
            const int j = j0 + Random(2 * leap + 1) - leap;
            if (std::max(high, j) - std::min(low, j) > ambitus) continue;
            const auto c = candidateAt(segment, j);
            if (!c || !inLimits(c->pitch)) continue;
            if (c->pitch == following.pitch) {
                if (i + 2 < n && notes[static_cast<std::size_t>(i + 2)].pitch == following.pitch) continue;
                if (Random(5) != 0) continue;
            }
            ++valid;
            if (c->chordTone || (valid > patience && std::abs(j - j0) <= 1)) {
                place(i, j, *c);
                low = std::min(low, j);
                high = std::max(high, j);
                placed = true;
            }
        }
        if (!placed) return GenerateResult::MelodyFailed;
    }

    state.notes = std::move(notes);
    state.noteCount = n;
    state.key = key;
    state.root = reference;
    return GenerateResult::Generated;
}

}  // namespace kalvintor::pitch
