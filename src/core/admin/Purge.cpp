// Purging old results: every user's result file keeps only the results at or after a date.
#include "admin/Dates.h"
#include "admin/Store.h"

#include "data/RecordScan.h"
#include "data/SharedFile.h"

namespace kalvintor::admin {

namespace {

struct Count {
    std::int64_t results = 0;
    std::int64_t dropped = 0;
};

// What a purge at `cutOff` drops from a result file: the results before it and those without an
// owner, as PurgeResults decides.
Count countDropped(const std::string& file, records::DateTime cutOff) {
    Count count;
    for (std::size_t i = 0; i < data::wholeRecords(file, data::kResultRecordSize); ++i) {
        const auto record = *data::decodeResultRecord(data::recordAt(file, data::kResultRecordSize, i));
        ++count.results;
        if (record.userId == 0 || !(record.sessionStart >= cutOff)) ++count.dropped;
    }
    return count;
}

}  // namespace

int purgeResults(const Context& context, const PurgeOptions& options) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    store->LoadUsers();
    std::vector<data::TUserInfo*> users;
    if (options.user.empty()) {
        for (const auto& u : store->UserList()) users.push_back(u.get());
    } else if (auto* found = findUser(*store, options.user)) {
        users.push_back(found);
    } else {
        context.err << "kalvintor-admin: no user \"" << options.user << "\"\n";
        return kExitFailed;
    }

    Table table{{"user_id", "login", "results", options.dryRun ? "would_remove" : "removed", "kept"}, {}};
    int exitCode = kExitOk;
    std::int64_t total = 0;
    for (auto* user : users) {
        const auto file = existingResultFile(*store, user->record.userId);
        // A user without a result file has nothing to purge; no empty file is made for him.
        if (!file) continue;
        data::FileError error;
        const auto bytes = data::readSharedFile(*file, &error);
        if (!bytes) {
            context.err << "kalvintor-admin: cannot read the results of " << user->record.loginName << ": "
                        << store->describe(error) << '\n';
            exitCode = kExitFailed;
            continue;
        }
        const Count count = countDropped(*bytes, options.before);
        if (!options.dryRun && count.dropped > 0 &&
            !store->PurgeResults(user->record.userId, options.before)) {
            context.err << "kalvintor-admin: the results of " << user->record.loginName
                        << " could not be purged; the file is unchanged\n";
            exitCode = kExitFailed;
            continue;
        }
        total += count.dropped;
        table.rows.push_back({Json(static_cast<std::int64_t>(user->record.userId)), user->record.loginName,
                              count.results, count.dropped, count.results - count.dropped});
    }
    table.write(context.out, options.format);
    if (options.format == Format::Table)
        context.out << (options.dryRun ? "Would remove " : "Removed ") << total << " result"
                    << (total == 1 ? "" : "s") << " from before " << formatDate(options.before) << ' '
                    << formatTime(options.before) << (options.dryRun ? " (dry run: nothing was changed)" : "")
                    << ".\n";
    return exitCode;
}

}  // namespace kalvintor::admin
