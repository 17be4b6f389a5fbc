// Loading, closing, saving and importing tutor files.
#include "tutor/TutorModel.h"

#include "files/Files.h"
#include "records/Cp1252.h"
#include "setup/OldSetup.h"
#include "setup/SetupRecord.h"
#include "tutor/OldMaterial.h"

#include <algorithm>

namespace kalvintor::tutor {

namespace {

using theory::TableKind;

// Nothing a tutor holds comes near this; a larger file is not a tutor.
constexpr std::uintmax_t kMaxTutorFileSize = 64u * 1024u * 1024u;

// Entries whose names come from the working catalogue (the current language) on loading.
struct BuiltInNames {
    TableKind kind;
    int last;
};
constexpr BuiltInNames kBuiltInNames[] = {
    {TableKind::ChordTypes, 27},
    {TableKind::ChordInversions, 25},
    {TableKind::Intervals, 26},
    {TableKind::Scales, 31},
};

records::Bytes bytesAt(std::string_view file, std::size_t at, std::size_t size) {
    return {reinterpret_cast<const std::uint8_t*>(file.data()) + at, size};
}

// An old step's block converted to the current layout, in place.
void convertOldStepSetup(int exercise, StepRecord& record) {
    auto& block = record.stepSetup;
    switch (setup::blockKind(exercise)) {
        case setup::BlockKind::Pitch: {
            const auto converted = setup::convertOldPitchBlock(exercise, block);
            std::ranges::copy(converted, block.begin());
            break;
        }
        case setup::BlockKind::Rhythm: {
            const auto converted = rhythm::convertOldRhythmSetup(
                std::span<const std::uint8_t>(block).first(rhythm::kOldRhythmSetupSize));
            std::ranges::copy(rhythm::encodeRhythmSetup(*converted), block.begin());
            break;
        }
        case setup::BlockKind::Melody: {
            const auto converted = setup::convertOldMelodyBlock(
                std::span<const std::uint8_t>(block).first(pitch::kMelodySetupSize));
            std::ranges::copy(converted, block.begin());
            break;
        }
    }
}

}  // namespace

TutorModel::TutorModel(theory::ChordCatalogue& working, CatalogueBackup& backup)
    : working_(working), backup_(backup) {}

int TutorModel::StepCount(int exercise) const {
    if (exercise < 1 || exercise > kExerciseCount) return 0;
    return static_cast<int>(steps_[static_cast<std::size_t>(exercise - 1)].size());
}

TTutorObject* TutorModel::StepOf(int exercise, int step) const {
    if (step < 1 || step > StepCount(exercise)) return nullptr;
    return steps_[static_cast<std::size_t>(exercise - 1)][static_cast<std::size_t>(step - 1)].get();
}

TTutorObject& TutorModel::addStep(int exercise, TTutorObject step) {
    modified = true;
    return *list(exercise).emplace_back(std::make_unique<TTutorObject>(std::move(step)));
}

TTutorObject& TutorModel::insertStep(int exercise, int index, TTutorObject step) {
    StepList& l = list(exercise);
    const int at = std::clamp(index, 0, static_cast<int>(l.size()));
    int& open = editorStep[static_cast<std::size_t>(exercise - 1)];
    if (open >= at) ++open;
    modified = true;
    return **l.insert(l.begin() + at, std::make_unique<TTutorObject>(std::move(step)));
}

bool TutorModel::removeStep(int exercise, int index) {
    if (index < 0 || index >= StepCount(exercise)) return false;
    StepList& l = list(exercise);
    l.erase(l.begin() + index);
    int& open = editorStep[static_cast<std::size_t>(exercise - 1)];
    if (open == index)
        open = -1;
    else if (open > index)
        --open;
    modified = true;
    return true;
}

bool TutorModel::moveStep(int exercise, int from, int to) {
    const int count = StepCount(exercise);
    if (from < 0 || from >= count || to < 0 || to >= count) return false;
    if (from == to) return true;
    StepList& l = list(exercise);
    auto moved = std::move(l[static_cast<std::size_t>(from)]);
    l.erase(l.begin() + from);
    l.insert(l.begin() + to, std::move(moved));
    int& open = editorStep[static_cast<std::size_t>(exercise - 1)];
    if (open == from)
        open = to;
    else if (from < open && open <= to)
        --open;
    else if (to <= open && open < from)
        ++open;
    modified = true;
    return true;
}

bool TutorModel::CloseTutor() {
    if (modified && confirmClose && !confirmClose()) return false;
    for (auto& l : steps_) l.clear();
    editorStep.fill(-1);
    header.tutorName.clear();
    header.description.clear();
    header.author.clear();
    std::fill_n(header.stepStart.begin(), kExerciseCount + 1, std::int16_t{0});
    // Tutor material never outlives its tutor; the flag stays set, as the backup stays valid.
    if (backup_.catalogueReplaced) working_.tables = backup_.tables.tables;
    fileName.clear();
    modified = false;
    return true;
}

void TutorModel::readSteps(std::string_view file, std::size_t& at, int exercise, int count,
                           bool currentLayout) {
    for (int i = 0; i < count; ++i) {
        // A step that cannot be read whole is skipped; whatever follows is read on.
        if (file.size() - at < kStepRecordSize) {
            at = file.size();
            continue;
        }
        TTutorObject step;
        step.record = *decodeStepRecord(bytesAt(file, at, kStepRecordSize));
        at += kStepRecordSize;
        if (currentLayout) {
            const std::size_t rest = step.record.hintRestLength;
            if (rest > file.size() - at) {
                at = file.size();
                continue;
            }
            const std::string text(file.substr(at, std::min(rest, kMaxHintRest)));
            at += rest;
            step.hintRest = records::cp1252ToUtf8(text);
            step.record.hintRestLength = static_cast<std::uint16_t>(text.size());
        } else {
            step.record.hintRestLength = 0;
            convertOldStepSetup(exercise, step.record);
        }
        list(exercise).push_back(std::make_unique<TTutorObject>(std::move(step)));
    }
}

bool TutorModel::usesUserMaterial() const {
    for (int e : {1, 2, 3, 7, 8, 10})
        for (const auto& step : steps_[static_cast<std::size_t>(e - 1)])
            if (setup::selectsUserEntries(e, step->record.stepSetup)) return true;
    return false;
}

bool TutorModel::LoadTutor(const std::string& name, const std::filesystem::path& commonDirectory) {
    const auto content = files::readFile(ResolveTutorPath(name, commonDirectory), kMaxTutorFileSize);
    if (!content) return false;
    if (!CloseTutor()) return false;
    const std::string_view file(*content);
    const auto read = decodeTutorHeader(bytesAt(file, 0, std::min(file.size(), kTutorHeaderSize)));
    if (!read) return false;
    header = *read;
    std::size_t at = kTutorHeaderSize;

    const bool currentLayout = header.tutorVersion == kTutorVersion;
    theory::ChordCatalogue material;
    if (currentLayout) {
        if (file.size() - at < theory::kCatalogueTablesSize) return false;
        material = *theory::decodeCatalogueTables(bytesAt(file, at, theory::kCatalogueTablesSize));
        at += theory::kCatalogueTablesSize;
        for (const auto& names : kBuiltInNames)
            for (int entry = 1; entry <= names.last; ++entry)
                material.table(names.kind).entry(entry).name = working_.table(names.kind).entry(entry).name;
    } else {
        if (file.size() - at < kOldMaterialSize) return false;
        material = backup_.catalogueReplaced ? backup_.tables : working_;
        convertOldMaterial(bytesAt(file, at, kOldMaterialSize), material);
        at += kOldMaterialSize;
        // Older tutors have no progression steps.
        header.stepStart[kExerciseCount] = header.stepStart[kExerciseCount - 1];
    }

    for (int e = 1; e <= kExerciseCount; ++e) readSteps(file, at, e, header.stepsOf(e), currentLayout);

    if (usesUserMaterial()) {
        if (!backup_.catalogueReplaced) {
            backup_.tables = working_;
            backup_.catalogueReplaced = true;
        }
        working_.tables = material.tables;
    }
    fileName = name;
    modified = false;
    return true;
}

bool TutorModel::SaveTutorFile(const std::filesystem::path& file) {
    header.tutorVersion = kTutorVersion;
    header.stepStart[0] = 1;
    for (int e = 1; e <= kExerciseCount; ++e)
        header.stepStart[static_cast<std::size_t>(e)] =
            static_cast<std::int16_t>(header.stepStart[static_cast<std::size_t>(e - 1)] + StepCount(e));
    std::fill(header.stepStart.begin() + kExerciseCount + 1, header.stepStart.end(),
              header.stepStart[kExerciseCount]);

    std::string bytes;
    const auto head = encodeTutorHeader(header);
    bytes.append(head.begin(), head.end());
    theory::CatalogueTablesBytes tables{};
    theory::encodeCatalogueTables(working_, tables);
    bytes.append(tables.begin(), tables.end());
    for (const auto& l : steps_) {
        for (const auto& step : l) {
            StepRecord record = step->record;
            const std::string rest = step->hintRestBytes();
            record.hintRestLength = static_cast<std::uint16_t>(rest.size());
            const auto encoded = encodeStepRecord(record);
            bytes.append(encoded.begin(), encoded.end());
            bytes += rest;
        }
    }
    if (files::writeFileAtomically(file, bytes) != files::WriteError::None) return false;
    modified = false;
    fileName = file.string();
    return true;
}

bool TutorModel::ImportSteps(const std::filesystem::path& path, int exercise) {
    if (exercise < 1 || exercise > kExerciseCount) return false;
    const auto content = files::readFile(path, kMaxTutorFileSize);
    if (!content) return false;
    const std::string_view file(*content);
    const auto other = decodeTutorHeader(bytesAt(file, 0, std::min(file.size(), kTutorHeaderSize)));
    if (!other || other->tutorVersion != kTutorVersion) return false;
    std::size_t at = std::min(file.size(), kTutorHeaderSize + theory::kCatalogueTablesSize);
    for (int e = 1; e < exercise; ++e) {
        for (int i = 0; i < other->stepsOf(e) && file.size() - at >= kStepRecordSize; ++i) {
            const auto record = decodeStepRecord(bytesAt(file, at, kStepRecordSize));
            at = std::min(file.size(), at + kStepRecordSize + record->hintRestLength);
        }
    }
    readSteps(file, at, exercise, other->stepsOf(exercise), true);
    modified = true;
    return true;
}

}  // namespace kalvintor::tutor
