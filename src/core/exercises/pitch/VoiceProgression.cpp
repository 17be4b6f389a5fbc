// Voicing progression chords: spelled chord notes, inversions towards a common top voice and the
// added root bass.
#include "exercises/pitch/Generation.h"

#include "app/Random.h"
#include "theory/LetterSpelling.h"
#include "theory/Spelling.h"
#include "theory/Tables.h"

#include <algorithm>
#include <cstdlib>

namespace kalvintor::pitch {

using theory::floorMod;

namespace {

// The chord type whose close neighbours are thinned out after an inversion.
inline constexpr int kThinnedChordType = 21;

struct VoicedChord {
    std::vector<QuestionNote> notes;
    int rootPitch = 0;  // where the chord root sounds after voicing
    bool placeholder = false;
};

// The chord type's notes on the root, each written as many letters above the root's name as
// the catalogue writes it above C; a note no accidental can write there takes the key's plain
// writing.
VoicedChord chordNotes(const QuestionNote& chord, const KeyContext& key,
                       const theory::CatalogueTable& chordTypes) {
    VoicedChord voiced;
    const int type = chord.extra;
    if (chord.pitch == 0 || type + 1 > theory::kCatalogueEntries || chordTypes.entry(type + 1).count == 0) {
        voiced.placeholder = true;
        voiced.notes.push_back(QuestionNote{});
        return voiced;
    }
    const auto& entry = chordTypes.entry(type + 1);
    for (int k = 0; k < entry.noteCount(); ++k) {
        const auto& source = entry.notes[static_cast<std::size_t>(k)];
        QuestionNote note;
        note.pitch = source.pitch - theory::kMiddleC + chord.pitch;
        note.spellOffset = theory::SpellAtLetters(note.pitch, chord.pitch, chord.spellOffset,
                                                  theory::LettersAboveC(source.pitch, source.spellOffset));
        if (std::abs(note.spellOffset) > theory::kDoubleFlat)
            note.spellOffset = theory::DefaultSpelling(note.pitch, key.keySig);
        note.extra = chord.extra;
        voiced.notes.push_back(note);
    }
    voiced.rootPitch = voiced.notes.front().pitch;
    return voiced;
}

// Turns the chord so that the note nearest the anchor's pitch class is its top voice.
void invertTowards(VoicedChord& chord, int anchor, int chordType) {
    auto& notes = chord.notes;
    std::size_t nearest = 0;
    int best = 13;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        const int distance = std::abs(floorMod(std::abs(anchor - notes[i].pitch) + 6, 12) - 6);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    int shift = anchor - notes[nearest].pitch - best;
    if (floorMod(shift, 12) != 0) shift = anchor - notes[nearest].pitch + best;
    if (nearest + 1 < notes.size()) {
        // Chords wider than an octave (ninths) need a second octave for a note to come below
        // the top voice; the notes are then put in rising order again.
        const int top = notes[nearest].pitch;
        std::vector<QuestionNote> turned;
        for (std::size_t i = nearest + 1; i < notes.size(); ++i) {
            turned.push_back(notes[i]);
            do {
                turned.back().pitch -= 12;
            } while (turned.back().pitch >= top);
        }
        for (std::size_t i = 0; i <= nearest; ++i) turned.push_back(notes[i]);
        std::stable_sort(turned.begin(), turned.end(),
                         [](const QuestionNote& a, const QuestionNote& b) { return a.pitch < b.pitch; });
        notes = std::move(turned);
    }
    for (auto& note : notes) note.pitch += shift;
    chord.rootPitch += shift;
    if (chordType == kThinnedChordType) {
        for (std::size_t i = 0; i + 1 < notes.size(); ++i) {
            if (notes[i + 1].pitch - notes[i].pitch <= 1) {
                notes.erase(notes.begin() + static_cast<std::ptrdiff_t>(i + 1));
                break;
            }
        }
    }
}

void addRootBass(VoicedChord& chord, const QuestionNote& spelledRoot) {
    QuestionNote bass;
    bass.pitch = chord.rootPitch - 12;
    bass.spellOffset = spelledRoot.spellOffset;
    bass.extra = spelledRoot.extra;
    bass.addedBass = 1;
    if (chord.notes.front().pitch - bass.pitch < 7) bass.pitch -= 12;
    chord.notes.insert(chord.notes.begin(), bass);
}

}  // namespace

VoicedProgression VoiceProgression(const std::vector<QuestionNote>& chords, InversionMode mode, bool addBass,
                                   int anchor, int /* root: the chords carry their roots' names */,
                                   const KeyContext& key, const theory::CatalogueTable& chordTypes) {
    std::vector<VoicedChord> voiced(chords.size());
    for (std::size_t s = chords.size(); s-- > 0;) {
        auto& chord = voiced[s];
        chord = chordNotes(chords[s], key, chordTypes);
        if (chord.placeholder) continue;
        const QuestionNote spelledRoot = chord.notes.front();
        if (mode != InversionMode::AllRootPosition) {
            if (anchor == 0 && s + 1 == chords.size()) {
                anchor = mode == InversionMode::LastRootPosition
                             ? chord.notes.back().pitch
                             : chord
                                   .notes[static_cast<std::size_t>(
                                       app::Random(static_cast<int>(chord.notes.size())))]
                                   .pitch;
            }
            if (anchor != 0) invertTowards(chord, anchor, chords[s].extra);
        }
        if (addBass) addRootBass(chord, spelledRoot);
    }

    VoicedProgression result;
    result.anchor = anchor;
    bool anyBass = false;
    int highestBass = -1000;
    int lowestBass = 1000;
    for (auto& chord : voiced) {
        if (result.notes.size() + chord.notes.size() > kMaxVoicedNotes) break;
        result.chordStarts.push_back(static_cast<int>(result.notes.size()));
        for (auto note : chord.notes) {
            note.noteValue = 0;
            note.beatWeight = 0;
            note.endMark = 0;
            if (note.addedBass != 0) {
                anyBass = true;
                highestBass = std::max(highestBass, note.pitch + note.spellOffset);
                lowestBass = std::min(lowestBass, note.pitch + note.spellOffset);
            }
            result.notes.push_back(note);
        }
        result.notes.back().endMark = kEndOfChord;
    }
    if (!result.notes.empty()) result.notes.back().endMark = kEndOfQuestion;
    // Basses that sit mostly above middle C are drawn with the chords.
    if (anyBass && highestBass - theory::kMiddleC > theory::kMiddleC - lowestBass)
        for (auto& note : result.notes) note.addedBass = 0;
    return result;
}

}  // namespace kalvintor::pitch
