// Fuzz target: a result file as loading, statistics, filtering, purging and merging read it. Every
// whole record is listed and a partial one never is; merging the file's own results adds none,
// and a purge keeps exactly the whole results of a user from the cut-off on.
#include "FuzzDir.h"
#include "LiveRecords.h"
#include "data/DataStore.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    constexpr double kCutOff = 44990;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-result");
    StoreEnvironment env;
    env.now = [] { return 45000.5; };
    DataStore store(dir, env);
    const auto file = store.ResultFileName(7);
    kalvintor::fuzzing::put(file, data, size);
    store.LoadResults(7);
    if (store.ResultList().size() != size / kResultRecordSize) std::abort();
    TUserInfo user;
    user.record.userId = 7;
    store.ComputeStatistics(user);
    store.FilterResults(1, 44000);
    for (const auto* r : store.FilteredResults()) {
        if (r->record.exercise != 1 || !(r->record.sessionStart >= 44000)) std::abort();
        (void)ResultKey(r->record);
    }
    std::vector<ResultRecord> own;
    std::size_t kept = 0;
    for (const auto& r : store.ResultList()) {
        own.push_back(r->record);
        kept += r->record.userId != 0 && r->record.sessionStart >= kCutOff;
    }
    const auto added = store.MergeResults(7, own);
    if (added && *added != 0) std::abort();
    if (store.PurgeResults(7, kCutOff)) {
        store.LoadResults(7);
        if (store.ResultList().size() != kept) std::abort();
        for (const auto& r : store.ResultList())
            if (r->record.userId == 0 || !(r->record.sessionStart >= kCutOff)) std::abort();
        if (kalvintor::fuzzing::contentOf(file).size() != kept * kResultRecordSize) std::abort();
    }
    return 0;
}
