// One workstation of the multi-process tests: takes ids, adds users, appends results, saves its
// user, reads beside the writers, or rewrites a result file until it is killed.
#include "Workstation.h"
#include "data/DataStore.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace kalvintor::data;
namespace ws = kalvintor::data::workstation;

namespace {

int number(const char* text) {
    return std::atoi(text);
}

StoreCallbacks patientUser() {
    StoreCallbacks callbacks;
    callbacks.lockWait.askRetry = [](const std::string&) { return true; };  // always "Retry"
    return callbacks;
}

int takeIds(DataStore& store, int count) {
    for (int i = 0; i < count; ++i) {
        const int id = store.NextId(IdKind::User);
        if (id == 0) return 2;
        std::printf("%d\n", id);
    }
    return 0;
}

// New users, each with an id taken from Common.dat, as the user administration adds them.
int addUsers(DataStore& store, int count) {
    for (int i = 0; i < count; ++i) {
        UserRecord u;
        u.userId = store.NextId(IdKind::User);
        if (u.userId == 0) return 2;
        u.loginName = "w" + std::to_string(u.userId);
        if (!store.SaveUser(u)) return 2;
    }
    return 0;
}

int appendResults(DataStore& store, std::int16_t userId, int count, int tag) {
    for (int i = 0; i < count; ++i)
        if (!store.AppendResult(ws::resultOf(tag, i, userId))) return 2;
    return 0;
}

int saveUser(DataStore& store, std::int16_t userId, int rounds) {
    for (int round = 1; round <= rounds; ++round) {
        UserRecord u;
        u.userId = userId;
        if (!store.ReloadUser(u)) return 2;
        ws::stamp(u, round);
        if (!store.SaveUser(u)) return 2;
    }
    return 0;
}

// Exit 3 when a record that was read is not whole.
int readAlong(DataStore& store, int milliseconds, std::int16_t resultUser) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    long records = 0;
    while (std::chrono::steady_clock::now() < until) {
        store.LoadUsers();
        for (const auto& u : store.UserList()) {
            if (!ws::isWhole(u->record)) return 3;
            ++records;
        }
        store.LoadResults(resultUser);
        for (const auto& r : store.ResultList()) {
            if (!ws::isWhole(r->record)) return 3;
            ++records;
        }
    }
    std::printf("%ld\n", records);
    return records > 0 ? 0 : 4;
}

// Reports every finished round on its own line, so that a test can act once it is under way.
int rewriteForever(DataStore& store, std::int16_t userId) {
    for (int i = 0;; ++i) {
        if (!store.MergeResults(userId, {ws::resultOf(99, i, userId)})) return 2;
        if (!store.PurgeResults(userId, 0)) return 2;
        std::printf("%d\n", i + 1);
        std::fflush(stdout);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 1;
    const std::string mode = argv[1];
    DataStore store(argv[2], StoreEnvironment{}, patientUser());
    if (mode == "ids" && argc == 4) return takeIds(store, number(argv[3]));
    if (mode == "users" && argc == 4) return addUsers(store, number(argv[3]));
    if (mode == "append" && argc == 6)
        return appendResults(store, static_cast<std::int16_t>(number(argv[3])), number(argv[4]),
                             number(argv[5]));
    if (mode == "save" && argc == 5)
        return saveUser(store, static_cast<std::int16_t>(number(argv[3])), number(argv[4]));
    if (mode == "read" && argc == 5)
        return readAlong(store, number(argv[3]), static_cast<std::int16_t>(number(argv[4])));
    if (mode == "rewrite" && argc == 4)
        return rewriteForever(store, static_cast<std::int16_t>(number(argv[3])));
    return 1;
}
