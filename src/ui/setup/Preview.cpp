// Previews of catalogue entries.
#include "Preview.h"

#include "exercises/pitch/Generation.h"
#include "sound/TMidiOut.h"

#include <vector>

namespace kalvintor::ui {

void playEntry(sound::TMidiOut* out, const theory::CatalogueEntry& entry, PreviewStyle style, bool guitar) {
    if (out == nullptr || entry.noteCount() == 0) return;
    std::vector<sound::QueuedNote> notes;
    for (int i = 0; i < entry.noteCount(); ++i)
        notes.push_back({static_cast<std::int8_t>(entry.notes[static_cast<std::size_t>(i)].pitch), 3, 2});
    out->Stop();
    out->QueueNotes(notes, static_cast<std::uint8_t>(notes.size()),
                    style == PreviewStyle::Together ? sound::NoteMode::Together : sound::NoteMode::Upward,
                    guitar);
    out->Play();
}

void playProgression(sound::TMidiOut* out, const theory::CatalogueEntry& progression,
                     const theory::CatalogueTable& chordTypes, bool guitar) {
    if (out == nullptr || progression.noteCount() == 0) return;
    std::vector<pitch::QuestionNote> chords;
    for (int i = 0; i < progression.noteCount(); ++i) {
        const theory::CatalogueNote& c = progression.notes[static_cast<std::size_t>(i)];
        chords.push_back({c.pitch, c.spellOffset, c.extra, 0});
    }
    const pitch::VoicedProgression voiced =
        pitch::VoiceProgression(chords, pitch::InversionMode::AllRootPosition, false, 0, 60, {}, chordTypes);
    out->Stop();
    for (std::size_t c = 0; c < voiced.chordStarts.size(); ++c) {
        const std::size_t from = static_cast<std::size_t>(voiced.chordStarts[c]);
        const std::size_t to = c + 1 < voiced.chordStarts.size()
                                   ? static_cast<std::size_t>(voiced.chordStarts[c + 1])
                                   : voiced.notes.size();
        std::vector<sound::QueuedNote> notes;
        for (std::size_t i = from; i < to; ++i)
            notes.push_back({static_cast<std::int8_t>(voiced.notes[i].pitch), 2, 2});
        if (!notes.empty())
            out->QueueNotes(notes, static_cast<std::uint8_t>(notes.size()), sound::NoteMode::Together,
                            guitar);
    }
    out->Play();
}

}  // namespace kalvintor::ui
