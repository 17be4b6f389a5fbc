// What a setup file or a tutor file holds, decoded: every exercise's block in words and numbers.
#include "admin/Store.h"
#include "app/ExerciseNames.h"

#include "exercises/pitch/MelodySetup.h"
#include "exercises/pitch/SetupBlock.h"
#include "exercises/rhythm/MeterTable.h"
#include "exercises/rhythm/RhythmSetup.h"
#include "setup/SetupFile.h"
#include "theory/ChordFile.h"
#include "theory/Naming.h"
#include "tutor/TutorModel.h"

#include <array>

namespace kalvintor::admin {

namespace fs = std::filesystem;

namespace {

using theory::TableKind;

std::string noteName(int pitch) {
    static constexpr std::array<const char*, 12> kNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                           "F#", "G",  "G#", "A",  "A#", "B"};
    return std::string(kNames[static_cast<std::size_t>(pitch % 12)]) + std::to_string(pitch / 12 - 1);
}

Json pitchLimit(int pitch) {
    Json limit = Json::object();
    limit.add("midi", pitch);
    limit.add("note", noteName(pitch));
    return limit;
}

Json answerModes(std::uint8_t bits) {
    namespace a = pitch::answer_bits;
    Json modes = Json::array();
    if (bits & a::kByName) modes.push("by name");
    if (bits & a::kPiano) modes.push("piano");
    if (bits & a::kGuitar) modes.push("guitar");
    if (bits & a::kNotesheet) modes.push("staff");
    return modes;
}

std::optional<TableKind> materialOf(int exercise) {
    switch (exercise) {
        case 1:
            return TableKind::ChordTypes;
        case 2:
        case 3:
            return TableKind::Intervals;
        case 7:
            return TableKind::ChordInversions;
        case 8:
            return TableKind::Scales;
        case 10:
            return TableKind::Progressions;
        default:
            return std::nullopt;
    }
}

std::string entryName(const theory::ChordCatalogue& catalogue, TableKind kind, int entry) {
    const auto& e = catalogue.table(kind).entry(entry);
    return kind == TableKind::Progressions ? theory::ProgressionName(e) : e.name;
}

Json describePitch(int exercise, records::Bytes bytes, const theory::ChordCatalogue& catalogue) {
    const auto block = *pitch::decodeSetupBlock(bytes.first(pitch::kSetupBlockSize));
    Json out = Json::object();
    Json& entries = out.add("entries", Json::array());
    const auto kind = materialOf(exercise);
    for (int entry = 1; entry <= pitch::kEntryFlagCount; ++entry) {
        if (!block.entryOn(entry)) continue;
        Json& item = entries.push(Json::object());
        item.add("number", entry);
        item.add("name", kind ? entryName(catalogue, *kind, entry) : std::string());
        if (kind && entry >= theory::FirstUserEntry(*kind)) item.add("user_entry", true);
    }
    out.add("play_together", block.playTogether != 0);
    out.add("arpeggio_up", block.arpeggioUp != 0);
    out.add("arpeggio_down", block.arpeggioDown != 0);
    if (exercise == 3) out.add("common_tone", block.commonTone());
    out.add("answer_in_c", block.answerInC != 0);
    out.add("answer_modes", answerModes(block.answerModes));
    out.add("answer_modes_locked", block.answerModesLocked());
    out.add("play_tone_on_click", block.playToneOnClick != 0);
    out.add("show_first_tone", block.showFirstTone != 0);
    out.add("auto_answer", block.autoAnswer != 0);
    out.add("play_tonic", block.playTonic());
    out.add("tonic_style", block.tonicStyle() == pitch::TonicStyle::Cadence ? "cadence" : "base tones");
    if (exercise == 10) {
        static constexpr std::array<const char*, 3> kModes = {"all in root position", "last in root position",
                                                              "random"};
        out.add("inversions", kModes[static_cast<std::size_t>(block.inversionMode())]);
        out.add("root_bass", block.addRootBass());
        out.add("root_movement", static_cast<int>(block.rootMovement));
    }
    out.add("upper_limit", pitchLimit(block.upperLimit));
    out.add("lower_limit", pitchLimit(block.lowerLimit));
    return out;
}

Json describeRhythm(records::Bytes bytes) {
    const auto block = *rhythm::decodeRhythmSetup(bytes.first(rhythm::kRhythmSetupSize));
    static constexpr std::array<const char*, 6> kValues = {"whole",  "half",      "quarter",
                                                           "eighth", "sixteenth", "thirty-second"};
    Json out = Json::object();
    Json& meters = out.add("meters", Json::array());
    for (int m = 1; m <= rhythm::kMeterCount; ++m)
        if (block.meterChosen(m)) {
            const auto& meter = rhythm::MeterTable[static_cast<std::size_t>(m)];
            meters.push(std::to_string(meter.numerator) + "/" + std::to_string(meter.denominator));
        }
    Json& values = out.add("note_values", Json::array());
    for (int v = 1; v <= rhythm::kNoteValueCount; ++v)
        if (block.valueChosen(v)) values.push(kValues[static_cast<std::size_t>(v - 1)]);
    Json& triplets = out.add("triplets", Json::array());
    for (int v = 2; v <= 5; ++v)
        if (block.tripletChosen(v)) triplets.push(kValues[static_cast<std::size_t>(v - 1)]);
    out.add("tempo", static_cast<int>(block.tempo));
    out.add("bars", static_cast<int>(block.bars));
    out.add("rests", block.rests != 0);
    out.add("errors", static_cast<int>(block.errors));
    static constexpr std::array<const char*, 3> kStrictness = {"kind", "normal", "severe"};
    out.add("strictness", block.strictness >= 0 && block.strictness <= 2
                              ? Json(kStrictness[static_cast<std::size_t>(block.strictness)])
                              : Json(static_cast<int>(block.strictness)));
    out.add("ties", block.ties != 0);
    out.add("dotted", block.dotted != 0);
    out.add("show_second_time", block.showSecondTime != 0);
    return out;
}

Json describeMelody(records::Bytes bytes) {
    const auto block = *pitch::decodeMelodySetup(bytes.first(pitch::kMelodySetupSize));
    Json out = Json::object();
    out.add("length", static_cast<int>(block.length));
    out.add("largest_leap", static_cast<int>(block.largestLeap));
    out.add("ambitus", static_cast<int>(block.ambitus));
    out.add("melody_type", static_cast<int>(block.melodyType));
    Json& keys = out.add("keys", Json::array());
    for (int sig = pitch::kFirstMelodyKeySig; sig < pitch::kFirstMelodyKeySig + pitch::kMelodyKeyCount;
         ++sig) {
        if (!block.keyOn(sig)) continue;
        const int n = sig < 0 ? -sig : sig;
        keys.push(sig == 0 ? std::string("no sharps or flats")
                           : std::to_string(n) + (sig < 0 ? " flat" : " sharp") + (n == 1 ? "" : "s"));
    }
    out.add("show_key_signature", block.showKeySignature != 0);
    out.add("play_tonic", block.playTonic());
    out.add("tonic_style", block.tonicStyle() == pitch::TonicStyle::Cadence ? "cadence" : "base tones");
    out.add("play_tone_on_click", block.playToneOnClick != 0);
    out.add("answer_modes", answerModes(block.answerModes));
    out.add("answer_modes_locked", (block.answerModes & pitch::answer_bits::kLock) != 0);
    out.add("auto_answer", block.autoAnswer != 0);
    out.add("show_first_tone", block.showFirstTone != 0);
    out.add("rhythm", static_cast<int>(block.rhythm));
    out.add("upper_limit", pitchLimit(block.upperLimit));
    out.add("lower_limit", pitchLimit(block.lowerLimit));
    return out;
}

// One exercise's block (the bytes start at the block; at least its length).
Json describeBlock(int exercise, records::Bytes bytes, const theory::ChordCatalogue& catalogue) {
    switch (setup::blockKind(exercise)) {
        case setup::BlockKind::Pitch:
            return describePitch(exercise, bytes, catalogue);
        case setup::BlockKind::Rhythm:
            return describeRhythm(bytes);
        case setup::BlockKind::Melody:
            return describeMelody(bytes);
    }
    return {};
}

void print(const Context& context, const Json& value, Format format) {
    if (format == Format::Json) {
        value.write(context.out);
        context.out << '\n';
    } else {
        value.writeText(context.out);
    }
}

}  // namespace

int describeSetup(const Context& context, const fs::path& file, Format format) {
    const auto read = setup::readSetupFile(file);
    if (read.status == setup::SetupReadStatus::Unreadable) {
        context.err << "kalvintor-admin: cannot read " << file.string() << '\n';
        return kExitFailed;
    }
    if (read.status == setup::SetupReadStatus::WrongHeader) {
        context.err << "kalvintor-admin: " << file.string() << " is not an exercise setup\n";
        return kExitFailed;
    }
    // Teacher-defined entries are named as this data directory's Chord.dat names them.
    theory::ChordCatalogue catalogue;
    theory::LoadCatalogue(catalogue, context.dataDir / theory::kChordFileName);
    Json out = Json::object();
    out.add("file", file.string());
    out.add("format",
            read.status == setup::SetupReadStatus::Converted ? "older setup, converted" : "current");
    Json& exercises = out.add("exercises", Json::array());
    for (int e = 1; e <= setup::kExerciseCount; ++e) {
        Json& item = exercises.push(Json::object());
        item.add("exercise", e);
        item.add("name", app::ExerciseEnglishName(e));
        item.add("setup", describeBlock(e, read.record.block(e), catalogue));
    }
    print(context, out, format);
    return kExitOk;
}

int describeTutor(const Context& context, const fs::path& file, Format format) {
    theory::ChordCatalogue working;
    theory::LoadCatalogue(working, context.dataDir / theory::kChordFileName);
    tutor::CatalogueBackup backup;
    tutor::TutorModel model(working, backup);
    const fs::path absolute = fs::absolute(file);
    if (!model.LoadTutor(absolute.string(), {})) {
        context.err << "kalvintor-admin: " << file.string() << " cannot be read as a tutor\n";
        return kExitFailed;
    }
    Json out = Json::object();
    out.add("file", file.string());
    out.add("title", model.header.tutorName);
    out.add("description", model.header.description);
    out.add("author", model.header.author);
    out.add("format",
            model.header.tutorVersion == tutor::kTutorVersion ? "current" : "older tutor, converted");
    // Step setups name their entries after the tutor's own material where it brings some.
    Json& exercises = out.add("exercises", Json::array());
    for (int e = 1; e <= tutor::kExerciseCount; ++e) {
        Json& item = exercises.push(Json::object());
        item.add("exercise", e);
        item.add("name", app::ExerciseEnglishName(e));
        Json& steps = item.add("steps", Json::array());
        for (int s = 1; s <= model.StepCount(e); ++s) {
            const auto* step = model.StepOf(e, s);
            Json& entry = steps.push(Json::object());
            entry.add("step", s);
            entry.add("name", step->record.stepName);
            entry.add("questions", static_cast<int>(step->record.stepQuestions));
            entry.add("upgrade_percent", static_cast<int>(step->record.upgradePercent));
            entry.add("downgrade_percent", static_cast<int>(step->record.downgradePercent));
            entry.add("hint", step->fullHint());
            entry.add("setup", describeBlock(e, step->record.stepSetup, working));
        }
    }
    print(context, out, format);
    return kExitOk;
}

}  // namespace kalvintor::admin
