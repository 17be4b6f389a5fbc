// Fuzz target: a result file as loading, statistics, filtering, purging and merging read it.
#include "FuzzDir.h"
#include "data/DataStore.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kalvintor::data;
    const auto dir = kalvintor::fuzzing::scratchDir("fuzz-result");
    StoreEnvironment env;
    env.now = [] { return 45000.5; };
    DataStore store(dir, env);
    kalvintor::fuzzing::put(store.ResultFileName(7), data, size);
    TUserInfo user;
    user.record.userId = 7;
    store.ComputeStatistics(user);
    store.FilterResults(1, 44000);
    for (const auto* r : store.FilteredResults()) (void)ResultKey(r->record);
    std::vector<ResultRecord> imported;
    for (const auto& r : store.ResultList()) imported.push_back(r->record);
    store.MergeResults(7, imported);
    store.PurgeResults(7, 44990);
    store.LoadResults(7);
    return 0;
}
