// Blocks, defaults and comparison of the exercise setup record.
#include "setup/SetupRecord.h"

#include <algorithm>

namespace kalvintor::setup {

namespace {
pitch::PitchExercise pitchExercise(int exercise) {
    return static_cast<pitch::PitchExercise>(exercise);
}
rhythm::RhythmExercise rhythmExercise(int exercise) {
    return static_cast<rhythm::RhythmExercise>(exercise);
}
}  // namespace

BlockKind blockKind(int exercise) {
    if (exercise >= 4 && exercise <= 6) return BlockKind::Rhythm;
    if (exercise == 9) return BlockKind::Melody;
    return BlockKind::Pitch;
}

std::span<std::uint8_t> SetupRecord::block(int exercise) {
    if (!isExercise(exercise)) return {};
    const auto place = kBlockPlaces[static_cast<std::size_t>(exercise)];
    return std::span(bytes).subspan(place.offset, place.length);
}

std::span<const std::uint8_t> SetupRecord::block(int exercise) const {
    if (!isExercise(exercise)) return {};
    const auto place = kBlockPlaces[static_cast<std::size_t>(exercise)];
    return std::span(bytes).subspan(place.offset, place.length);
}

pitch::SetupBlock SetupRecord::pitchBlock(int exercise) const {
    return *pitch::decodeSetupBlock(block(exercise));
}

void SetupRecord::setPitchBlock(int exercise, const pitch::SetupBlock& b) {
    std::ranges::copy(pitch::encodeSetupBlock(b), block(exercise).begin());
}

rhythm::RhythmSetup SetupRecord::rhythmBlock(int exercise) const {
    return *rhythm::decodeRhythmSetup(block(exercise));
}

void SetupRecord::setRhythmBlock(int exercise, const rhythm::RhythmSetup& b) {
    std::ranges::copy(rhythm::encodeRhythmSetup(b), block(exercise).begin());
}

pitch::MelodySetup SetupRecord::melodyBlock() const {
    return *pitch::decodeMelodySetup(block(9));
}

void SetupRecord::setMelodyBlock(const pitch::MelodySetup& b) {
    std::ranges::copy(pitch::encodeMelodySetup(b), block(9).begin());
}

void SetupRecord::stampHeader() {
    bytes[0] = static_cast<std::uint8_t>(kHeaderText.size());
    std::ranges::copy(kHeaderText, bytes.begin() + 1);
}

bool SetupRecord::hasHeader(std::string_view text) const {
    return bytes[0] == text.size() && std::equal(text.begin(), text.end(), bytes.begin() + 1);
}

const SetupRecord& DefaultSetup() {
    static const SetupRecord defaults = [] {
        SetupRecord r;
        r.stampHeader();
        for (int e = 1; e <= kExerciseCount; ++e) {
            switch (blockKind(e)) {
                case BlockKind::Pitch:
                    r.setPitchBlock(e, pitch::defaultSetupBlock(pitchExercise(e)));
                    break;
                case BlockKind::Rhythm:
                    r.setRhythmBlock(e, rhythm::defaultRhythmSetup(rhythmExercise(e)));
                    break;
                case BlockKind::Melody:
                    r.setMelodyBlock(pitch::defaultMelodySetup());
                    break;
            }
        }
        return r;
    }();
    return defaults;
}

bool SetupDiffers(const SetupRecord& a, const SetupRecord& b) {
    for (int e = 1; e <= kExerciseCount; ++e) {
        const auto x = a.block(e);
        const auto y = b.block(e);
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (blockKind(e) == BlockKind::Rhythm && i >= kRhythmUncomparedFirst &&
                i <= kRhythmUncomparedLast)
                continue;
            if (x[i] != y[i]) return true;
        }
    }
    return false;
}

std::string displayName(std::string_view fileName) {
    const auto slash = fileName.find_last_of("/\\");
    if (slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    return std::string(fileName.substr(0, fileName.find('.')));
}

}  // namespace kalvintor::setup
