// Fuzz target: tutor files, current and older, as loading and importing steps read them.
#include "FuzzDir.h"
#include "tutor/TutorModel.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::tutor;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-tutor");
    kalvintor::fuzzing::put(dir / "input.tut", data, size);
    kalvintor::theory::ChordCatalogue working = kalvintor::theory::BuiltInCatalogue();
    CatalogueBackup backup;
    TutorModel model(working, backup);
    if (model.LoadTutor("input.tut", dir)) {
        for (int e = 1; e <= kExerciseCount; ++e)
            for (int s = 1; s <= model.StepCount(e); ++s)
                if (model.StepOf(e, s)->hintRest.size() > 2 * kMaxHintRest) std::abort();
    }
    (void)ReadTutorHeader(dir / "input.tut");
    model.ImportSteps(dir / "input.tut", 1 + static_cast<int>(size % kExerciseCount));
    model.CloseTutor();
    if (backup.catalogueReplaced && !(working.tables == backup.tables.tables)) std::abort();
    return 0;
}
