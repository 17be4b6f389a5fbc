// A copy of the data directory taken while workstations write: every file is copied under the
// lock writers take, into a staging folder that becomes the destination only when all is copied.
#include "admin/Store.h"

#include "data/SharedFile.h"
#include "data/Texts.h"
#include "files/Files.h"

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>

namespace kalvintor::admin {

namespace fs = std::filesystem;

namespace {

// Temporary files of a whole-file rewrite in progress: they are never part of the data.
bool isTemporary(const std::string& name) {
    return name.starts_with(".") && name.find(".tmp") != std::string::npos;
}

struct Copied {
    std::optional<std::string> bytes;  // nothing: the file is gone
    bool failed = false;
};

// The file's bytes read while its lock is held, so no writer is half-way through it. A file the
// tool may not write to is read under the readers' shared lock instead.
Copied readLocked(data::DataStore& store, const fs::path& file) {
    struct stat before {};
    if (::stat(file.c_str(), &before) != 0) return {};
    if (::access(file.c_str(), W_OK) != 0) {
        auto bytes = data::readSharedFile(file);
        return {bytes, !bytes};
    }
    auto locked = data::LockedFile::open(file, "The backup could not lock " + file.string() + ".",
                                         store.text(data::texts::kFileInUse), store.callbacks().lockWait);
    if (!locked) return {std::nullopt, true};
    struct stat now {};
    if (locked->size() == 0 && (::stat(file.c_str(), &now) != 0 || now.st_ino != before.st_ino)) {
        // The file went away after the listing and taking the lock made an empty one in its place
        // (or a purge left it empty, which reads the same as no file): nothing is copied and no
        // empty file is left behind.
        std::error_code ec;
        fs::remove(file, ec);
        return {};
    }
    return {locked->readAll(), false};
}

}  // namespace

int backupData(const Context& context, const fs::path& destination) {
    auto store = openStore(context);
    if (!store) return kExitFailed;
    const fs::path source = store->DataPath();
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
        context.err << "kalvintor-admin: " << why << "; nothing was written to " << target.string() << '\n';
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        return kExitFailed;
    };

    std::vector<fs::path> entries;
    for (auto it = fs::recursive_directory_iterator(source, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        entries.push_back(it->path());
    if (ec) return abandon("cannot list " + source.string() + ": " + ec.message());
    std::sort(entries.begin(), entries.end());

    std::size_t files = 0;
    std::uintmax_t bytes = 0;
    for (const auto& path : entries) {
        const fs::path relative = path.lexically_relative(source);
        const fs::path copy = staging / relative;
        const auto status = fs::symlink_status(path, ec);
        if (fs::is_directory(status)) {
            fs::create_directories(copy, ec);
            if (ec) return abandon("cannot create " + copy.string() + ": " + ec.message());
            continue;
        }
        if (!fs::is_regular_file(status) || isTemporary(path.filename().string())) continue;
        const Copied read = readLocked(*store, path);
        if (read.failed) return abandon("cannot read " + path.string());
        if (!read.bytes) continue;
        if (files::writeFileAtomically(copy, *read.bytes) != files::WriteError::None)
            return abandon("cannot write " + copy.string());
        ++files;
        bytes += read.bytes->size();
    }
    // The finished copy takes the destination's name in one step; until then there is none.
    fs::rename(staging, target, ec);
    if (ec) return abandon("cannot rename the copy to " + target.string() + ": " + ec.message());
    context.out << "Copied " << files << (files == 1 ? " file" : " files") << " (" << bytes << " bytes) from "
                << source.string() << " to " << target.string() << ".\n";
    return kExitOk;
}

}  // namespace kalvintor::admin
