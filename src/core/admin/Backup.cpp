// A copy of the data directory taken while workstations write: every file is copied under the
// lock writers take, into a staging folder that becomes the destination only when all is copied.
#include "admin/Store.h"

#include "data/DataFiles.h"
#include "data/RecordScan.h"
#include "data/SharedFile.h"
#include "data/Texts.h"
#include "files/Files.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace kalvintor::admin {

namespace fs = std::filesystem;
namespace names = data::file_names;

namespace {

// Temporary files of a whole-file rewrite in progress: they are never part of the data.
bool isTemporary(const std::string& name) {
    return name.starts_with(".") && name.find(".tmp") != std::string::npos;
}

struct Copied {
    std::optional<std::string> bytes;  // nothing: the file is gone, or it failed (see error)
    data::FileError error;
};

// The file's bytes read while its lock is held, so no writer is half-way through it. A file the
// tool may not write to is read under the readers' shared lock instead. Nothing is created.
Copied readLocked(data::DataStore& store, const fs::path& source, const fs::path& relative) {
    Copied copied;
    const fs::path file = source / relative;
    if (::access(file.c_str(), W_OK) != 0 && errno != ENOENT) {
        std::string bytes;
        if (data::readSharedFile(source, relative, bytes, &copied.error)) copied.bytes = std::move(bytes);
        return copied;
    }
    auto locked = data::LockedFile::open(source, relative, "The backup could not lock " + file.string() + ".",
                                         store.text(data::texts::kFileInUse), store.callbacks().lockWait,
                                         &copied.error, data::Create::Never);
    if (!locked) return copied;
    copied.bytes = locked->readAll();
    if (!copied.bytes) copied.error = locked->error();
    return copied;
}

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const Identity&) const = default;
};

std::optional<Identity> identityOf(const fs::path& dir) {
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0) return std::nullopt;
    return Identity{st.st_dev, st.st_ino};
}

// The highest id of the live records of a copied file.
template <typename IdOf>
std::int16_t highestId(const fs::path& file, std::size_t recordSize, IdOf idOf) {
    std::int16_t highest = 0;
    const auto bytes = files::readFile(file, data::kMaxSharedFileSize);
    if (!bytes) return 0;
    for (std::size_t i = 0; i < data::wholeRecords(*bytes, recordSize); ++i)
        highest = std::max(highest, idOf(data::recordAt(*bytes, recordSize, i)));
    return highest;
}

// Common.dat of the copy counts beyond every id the copy holds, so that restoring it and adding a
// user or a class never reuses an id. Common.dat is copied last, after the records its counters
// count, so this changes something only when the data directory itself had counters too low.
// What was raised; nothing when the raised counters could not be written.
std::optional<std::vector<std::string>> raiseCounters(const fs::path& copy) {
    const fs::path common = copy / names::kCommon;
    const auto bytes = files::readFile(common, data::kCommonRecordSize * 16);
    const auto record = bytes ? data::decodeCommonRecord(data::asBytes(*bytes)) : std::nullopt;
    if (!record) return std::vector<std::string>{};
    std::int16_t users = highestId(copy / names::kUsers, data::kUserRecordSize, [](records::Bytes r) {
        return records::getI16(r, data::user_offsets::kUserId);
    });
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(copy / names::kResultDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("User") || !name.ends_with(".dat")) continue;
        if (const auto id = parseNumber(name.substr(4, name.size() - 8)); id && *id > users && *id < 32767)
            users = static_cast<std::int16_t>(*id);
    }
    const std::int16_t classes =
        highestId(copy / names::kClasses, data::kClassRecordSize,
                  [](records::Bytes r) { return records::getI16(r, data::class_offsets::kClassId); });
    data::CommonRecord raised = *record;
    std::vector<std::string> notes;
    auto raise = [&](std::int16_t& counter, std::int16_t highest, const std::string& what) {
        if (highest < 32767 && counter <= highest) {
            notes.push_back("the next " + what + " id of the copy was raised from " +
                            std::to_string(counter) + " to " + std::to_string(highest + 1) + ", above the " +
                            what + " ids it holds");
            counter = static_cast<std::int16_t>(highest + 1);
        }
    };
    raise(raised.nextUserId, users, "user");
    raise(raised.nextClassId, classes, "class");
    if (notes.empty()) return notes;
    std::string stored = *bytes;
    const auto encoded = data::encodeCommonRecord(raised);
    stored.replace(0, encoded.size(), reinterpret_cast<const char*>(encoded.data()), encoded.size());
    if (files::writeFileAtomically(common, stored) != files::WriteError::None) return std::nullopt;
    return notes;
}

}  // namespace

int backupData(const Context& context, const fs::path& destination) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    const fs::path source = store->DataPath();
    const auto sourceIdentity = identityOf(source);
    std::error_code ec;
    const fs::path target = fs::absolute(destination, ec).lexically_normal();
    if (fs::exists(target, ec) && !(fs::is_directory(target, ec) && fs::is_empty(target, ec))) {
        context.err << "kalvintor-admin: " << target.string() << " already exists; choose a new folder\n";
        return kExitFailed;
    }
    const auto inside = target.lexically_relative(fs::absolute(source, ec).lexically_normal());
    if (!inside.empty() && *inside.begin() != "..") {
        context.err << "kalvintor-admin: the copy cannot go inside the data directory itself\n";
        return kExitFailed;
    }
    const fs::path parent = (target.has_filename() ? target : target.parent_path()).parent_path();
    const fs::path name = (target.has_filename() ? target : target.parent_path()).filename();
    fs::create_directories(parent, ec);
    const fs::path staging = parent / ("." + name.string() + ".partial-" + std::to_string(::getpid()));
    fs::remove_all(staging, ec);
    if (!fs::create_directory(staging, ec)) {
        context.err << "kalvintor-admin: cannot create " << staging.string() << ": " << ec.message() << '\n';
        return kExitFailed;
    }
    auto abandon = [&](const std::string& why) {
        context.err << "kalvintor-admin: " << why << "; the backup failed and nothing was written to "
                    << target.string() << '\n';
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        return kExitFailed;
    };
    // A file missing from the listed folder is only "gone" while the data directory is still the
    // one the backup started from: a folder moved away makes every file look gone.
    auto sourceUnchanged = [&] { return sourceIdentity && identityOf(source) == sourceIdentity; };

    std::vector<fs::path> entries;
    for (auto it = fs::recursive_directory_iterator(source, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        entries.push_back(it->path().lexically_relative(source));
    if (ec) return abandon("cannot list " + source.string() + ": " + ec.message());
    std::sort(entries.begin(), entries.end());
    // Common.dat last: its id counters are then at least the ids of every record copied before.
    std::stable_partition(entries.begin(), entries.end(),
                          [](const fs::path& relative) { return relative != fs::path(names::kCommon); });

    std::size_t files = 0;
    std::uintmax_t bytes = 0;
    std::vector<std::string> leftOut;
    for (const auto& relative : entries) {
        const fs::path path = source / relative;
        const fs::path copy = staging / relative;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            const int error = errno;
            if (error == ENOENT && sourceUnchanged()) {
                leftOut.push_back(relative.string() + " (deleted during the backup)");
                continue;
            }
            return abandon("cannot read " + path.string() + ": " + std::strerror(error));
        }
        if (S_ISDIR(st.st_mode)) {
            fs::create_directories(copy, ec);
            if (ec) return abandon("cannot create " + copy.string() + ": " + ec.message());
            continue;
        }
        if (S_ISLNK(st.st_mode)) {
            const auto to = fs::read_symlink(path, ec);
            leftOut.push_back(relative.string() + " (a symbolic link to " + to.string() +
                              "; links are no data and the program does not follow them)");
            continue;
        }
        if (!S_ISREG(st.st_mode)) {
            leftOut.push_back(relative.string() + " (not a plain file)");
            continue;
        }
        if (isTemporary(relative.filename().string())) continue;
        const Copied read = readLocked(*store, source, relative);
        if (!read.bytes) {
            if (read.error.kind == data::FileFailure::Missing && read.error.file == path &&
                sourceUnchanged()) {
                leftOut.push_back(relative.string() + " (deleted during the backup)");
                continue;
            }
            return abandon("cannot copy " + path.string() + ": " + store->describe(read.error));
        }
        if (files::writeFileAtomically(copy, *read.bytes) != files::WriteError::None)
            return abandon("cannot write " + copy.string());
        ++files;
        bytes += read.bytes->size();
    }
    if (!sourceUnchanged())
        return abandon(source.string() + " was moved or replaced while it was being copied");
    const auto notes = raiseCounters(staging);
    if (!notes) return abandon("cannot write " + (staging / names::kCommon).string());
    // The finished copy takes the destination's name in one step; until then there is none.
    fs::rename(staging, target, ec);
    if (ec) return abandon("cannot rename the copy to " + target.string() + ": " + ec.message());
    for (const auto& item : leftOut) context.err << "kalvintor-admin: not copied: " << item << '\n';
    for (const auto& note : *notes) context.err << "kalvintor-admin: " << note << '\n';
    context.out << "Copied " << files << (files == 1 ? " file" : " files") << " (" << bytes << " bytes) from "
                << source.string() << " to " << target.string() << ".";
    if (!leftOut.empty()) context.out << " " << leftOut.size() << " left out (named above).";
    context.out << '\n';
    return kExitOk;
}

}  // namespace kalvintor::admin
