// Fuzz target: Common.dat as loading, saving and id taking read it. Whatever the counters hold,
// an id handed out is a live one (1..32767, never 0 or negative) and never handed out twice.
#include "FuzzDir.h"
#include "data/DataStore.h"

#include <cstdlib>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-common");
    kalvintor::fuzzing::put(dir / "Common.dat", data, size);
    DataStore store(dir);
    store.LoadCommon();
    store.ResolveTutorPath("Course.tut");
    for (const IdKind kind : {IdKind::User, IdKind::Class}) {
        std::set<std::int16_t> taken;
        for (int i = 0; i < 3; ++i) {
            const std::int16_t id = store.NextId(kind);
            if (id == 0) continue;
            if (id < 1 || !taken.insert(id).second) std::abort();
        }
        const std::int16_t first = store.NextIds(kind, 2);
        if (first != 0 && (first < 1 || taken.contains(first) || taken.contains(first + 1))) std::abort();
    }
    store.SaveCommon();
    return 0;
}
