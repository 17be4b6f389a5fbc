// Fuzz target: what kalvintor-admin prints about damaged files: the user, class and result
// listings, the statistics, and the descriptions of a setup and a tutor. The input is cut at each
// "@@" into User.dat, Class.dat, Result/User002.dat, Chord.dat, a setup file and a tutor file.
// Whatever they hold, a listing shows the same rows as JSON, as CSV records of one width and as
// table lines, the users listed are the live records of User.dat, JSON is JSON, and text for the
// terminal is UTF-8 without control characters.
#include "../data/FuzzDir.h"
#include "../data/LiveRecords.h"
#include "OutputCheck.h"
#include "admin/Admin.h"
#include "data/UserRecord.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using namespace kalvintor::admin;
using namespace kalvintor::fuzzing;

struct Printed {
    int code = kExitOk;
    std::string out;
    std::string err;
};

template <typename Command>
Printed run(const fs::path& data, Command command) {
    std::ostringstream out;
    std::ostringstream err;
    const Context context{data,
                          data.parent_path() / "Program",
                          out,
                          err,
                          [] { return kalvintor::records::DateTime{45400.5}; },
                          [](int) {},
                          1};
    const int code = command(context);
    return {code, out.str(), err.str()};
}

// A command that fails says why and prints nothing else.
bool failedCleanly(const Printed& p) {
    if (p.code == kExitOk) return false;
    if (p.code != kExitFailed || !p.out.empty() || p.err.empty()) std::abort();
    return true;
}

void checkTerminalText(const std::string& text) {
    if (!isUtf8(text) || hasControls(text)) std::abort();
}

// One listing in every format; the rows it shows, or nothing when it failed.
template <typename List>
std::optional<std::size_t> checkListing(const fs::path& data, List list) {
    const auto json = run(data, [&](const Context& c) { return list(c, Format::Json); });
    const auto csv = run(data, [&](const Context& c) { return list(c, Format::Csv); });
    const auto table = run(data, [&](const Context& c) { return list(c, Format::Table); });
    const bool failed = failedCleanly(json);
    if (failedCleanly(csv) != failed || failedCleanly(table) != failed) std::abort();
    if (failed) return std::nullopt;
    const auto rows = JsonCheck(json.out).check();
    if (!rows || !isUtf8(json.out)) std::abort();
    const auto records = csvRecords(csv.out);
    if (!records || records->size() != *rows + 1 || !isUtf8(csv.out)) std::abort();
    for (const auto& record : *records)
        if (record.size() != records->front().size()) std::abort();
    checkTerminalText(table.out);
    if (static_cast<std::size_t>(std::count(table.out.begin(), table.out.end(), '\n')) != *rows + 1)
        std::abort();
    return rows;
}

template <typename Describe>
void checkDescription(const fs::path& data, Describe describe) {
    const auto json = run(data, [&](const Context& c) { return describe(c, Format::Json); });
    const auto text = run(data, [&](const Context& c) { return describe(c, Format::Table); });
    const bool failed = failedCleanly(json);
    if (failedCleanly(text) != failed) std::abort();
    if (failed) return;
    if (!JsonCheck(json.out).check() || !isUtf8(json.out)) std::abort();
    checkTerminalText(text.out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto root = scratchDir("fuzz-admin-output");
    const fs::path dir = root / "Data";
    fs::remove_all(dir);
    fs::create_directories(dir / "Result");
    const fs::path names[] = {dir / "User.dat",  dir / "Class.dat",  dir / "Result" / "User002.dat",
                              dir / "Chord.dat", root / "input.lvs", root / "input.tut"};
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    for (const auto& name : names) {
        const auto end = std::min(input.find("@@", at), input.size());
        put(name, data + at, end - at);
        at = std::min(end + 2, input.size());
    }
    const auto live =
        liveIds(dir / "User.dat", kalvintor::data::kUserRecordSize, kalvintor::data::user_offsets::kUserId);

    const auto users = checkListing(dir, [](const Context& c, Format f) { return listUsers(c, f); });
    if (users && *users != live.size()) std::abort();
    checkListing(dir, [](const Context& c, Format f) { return listClasses(c, f); });
    checkListing(dir, [](const Context& c, Format f) {
        ResultsOptions options;
        options.format = f;
        return listResults(c, options);
    });
    checkListing(dir, [](const Context& c, Format f) {
        StatsOptions options;
        options.format = f;
        options.period = 30;
        return showStatistics(c, options);
    });
    checkDescription(dir,
                     [&](const Context& c, Format f) { return describeSetup(c, root / "input.lvs", f); });
    checkDescription(dir,
                     [&](const Context& c, Format f) { return describeTutor(c, root / "input.tut", f); });
    return 0;
}
