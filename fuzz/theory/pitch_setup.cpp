// Fuzz target: setup blocks and catalogue material of any content; applying them and generating
// questions must end and stay inside every table.
#include "app/Random.h"
#include "exercises/pitch/Answer.h"
#include "exercises/pitch/Generation.h"
#include "exercises/pitch/IntervalComparison.h"
#include "language/Language.h"
#include "theory/ChordFile.h"

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor;
    using namespace kalvintor::pitch;
    std::vector<std::uint8_t> bytes(data, data + size);
    bytes.resize(kSetupBlockSize + kMelodySetupSize, 0);
    const auto block = decodeSetupBlock(std::span(bytes).first(kSetupBlockSize));
    const auto melody = decodeMelodySetup(std::span(bytes).subspan(kSetupBlockSize, kMelodySetupSize));
    if (!block || !melody) std::abort();

    // Whatever follows the two blocks is read as Chord.dat records over the catalogue.
    theory::ChordCatalogue catalogue = theory::BuiltInCatalogue();
    if (size > bytes.size()) theory::ReadChordFile(std::span(data, size).subspan(bytes.size()), catalogue);

    app::SeedRandom(size);
    app::SetRandomizeClock([] { return std::uint64_t{7}; });
    const language::Language language;
    for (auto mode : {ExerciseMode::Chord, ExerciseMode::Inversion, ExerciseMode::Interval,
                      ExerciseMode::Scale, ExerciseMode::Melody, ExerciseMode::Progression}) {
        PitchExerciseState state;
        state.mode = mode;
        if (mode == ExerciseMode::Melody)
            ApplyMelodySetup(state, *melody, true, true);
        else
            ApplySetup(state, *block, catalogue, true, true);
        for (int question = 0; question < 3; ++question) {
            if (GenerateQuestion(state, catalogue) != GenerateResult::Generated) break;
            if (state.notes.size() > kMaxQuestionNotes || state.voiced.size() > kMaxVoicedNotes) std::abort();
            state.answered = false;
            for (const auto& note : state.notes) AddAnswerNote(state, note, false, 0);
            if (!state.enabledList.empty())
                PreviewAnswer(state, state.enabledList.front(), false, {}, catalogue, language);
            CheckAnswer(state, {IdentificationMode::Relative, true}, language);
        }
    }
    IntervalComparisonState comparison;
    ApplyComparisonSetup(comparison, *block, catalogue, true);
    GenerateComparison(comparison);
    app::SetRandomizeClock(nullptr);
    return 0;
}
