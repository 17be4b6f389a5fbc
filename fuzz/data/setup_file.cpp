// Fuzz target: setup files of every size, current and old, as loading reads them.
#include "FuzzDir.h"
#include "setup/OldSetup.h"
#include "setup/SetupFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::setup;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-setup");
    kalvintor::fuzzing::put(dir / "input.lvs", data, size);
    SetupSession session;
    session.LoadSetupFile((dir / "input.lvs").string(), true);
    // Whatever loaded is a whole record whose blocks decode.
    for (int e = 1; e <= kExerciseCount; ++e) {
        if (session.current.block(e).empty()) std::abort();
        if (blockKind(e) == BlockKind::Pitch) (void)selectsUserEntries(e, session.current.block(e));
    }
    (void)session.current.melodyBlock();
    (void)session.current.rhythmBlock(4);
    (void)SetupDiffers(session.current, DefaultSetup());
    return 0;
}
