// Result files: one user's result list, appending, rewriting, purging and merging imported results.
#include "data/DataFiles.h"
#include "data/DataStore.h"
#include "data/RecordScan.h"
#include "data/TextFormat.h"

#include <algorithm>

namespace kalvintor::data {

namespace r = records;

namespace {

std::unique_ptr<TResultInfo> makeResult(ResultRecord record) {
    auto info = std::make_unique<TResultInfo>();
    info->record = std::move(record);
    return info;
}

std::vector<std::unique_ptr<TResultInfo>> resultsOf(std::string_view file) {
    std::vector<std::unique_ptr<TResultInfo>> list;
    list.reserve(wholeRecords(file, kResultRecordSize));
    for (std::size_t i = 0; i < wholeRecords(file, kResultRecordSize); ++i)
        list.push_back(makeResult(*decodeResultRecord(recordAt(file, kResultRecordSize, i))));
    return list;
}

std::string resultBytes(const std::vector<std::unique_ptr<TResultInfo>>& list) {
    std::string bytes;
    bytes.reserve(list.size() * kResultRecordSize);
    for (const auto& result : list) {
        const auto record = encodeResultRecord(result->record);
        bytes.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    return bytes;
}

std::string asideName(const std::filesystem::path& file) {
    return std::string(file_names::kAsidePrefix) + file.filename().string();
}

}  // namespace

void DataStore::LoadResults(std::int16_t userId) {
    filteredResults_.clear();
    const auto name = resultFile(userId);
    if (name.empty() || !readSharedFile(dataPath_, name, readBuffer_)) readBuffer_.clear();
    const std::string_view content(readBuffer_);
    // A partial record at the end (a crash in the middle of an append) is dropped: its missing
    // bytes would make up a result that never happened.
    const std::size_t count = wholeRecords(content, kResultRecordSize);
    for (std::size_t i = 0; i < count; ++i) {
        auto record = *decodeResultRecord(recordAt(content, kResultRecordSize, i));
        if (i == resultList_.size()) {
            resultList_.push_back(makeResult(std::move(record)));
        } else {
            resultList_[i]->record = std::move(record);
        }
    }
    resultList_.resize(count);
}

void DataStore::FilterResults(int exercise, r::DateTime earliest) {
    filteredResults_.clear();
    for (const auto& result : resultList_) {
        if (exercise >= 0 && result->record.exercise != exercise) continue;
        if (earliest >= 0 && !(result->record.sessionStart >= earliest)) continue;
        filteredResults_.push_back(result.get());
    }
}

bool DataStore::AppendResult(const ResultRecord& record) {
    // Id 0 would name the selected user's file instead of the owner's.
    if (record.userId == 0) return false;
    // The caller keeps a result that could not be written and tells the user so.
    auto file = openForUpdate(resultFile(record.userId), texts::kResultFileBusy, false);
    return file &&
           finish(*file, texts::kResultFileBusy,
                  file->writeAt(file->appendOffset(kResultRecordSize), encodeResultRecord(record)), false);
}

bool DataStore::replaceResults(LockedFile& file,
                               const std::vector<std::unique_ptr<TResultInfo>>& list) const {
    // Writers waiting for the lock find the name replaced and open the new file.
    if (file.replaceContent(resultBytes(list))) return true;
    reportFailure(text(texts::kResultFileBusy), file.error());
    return false;
}

bool DataStore::RewriteResults() {
    const auto name = resultFile(0);
    if (name.empty()) return false;
    auto file = openForUpdate(name, texts::kResultFileBusy);
    return file && replaceResults(*file, resultList_);
}

bool DataStore::PurgeResults(std::int16_t userId, r::DateTime cutOff) {
    const auto name = resultFile(userId);
    if (name.empty()) return false;
    auto file = openForUpdate(name, texts::kResultFileBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kResultFileBusy);
    if (!content) return false;
    std::string kept;
    for (std::size_t i = 0; i < wholeRecords(*content, kResultRecordSize); ++i) {
        const auto record = recordAt(*content, kResultRecordSize, i);
        if (r::getI16(record, result_offsets::kUserId) != 0 &&
            r::getF64(record, result_offsets::kSessionStart) >= cutOff)
            kept.append(reinterpret_cast<const char*>(record.data()), record.size());
    }
    // The kept records replace the file in one step: a crash or a full disk leaves the old file.
    if (!file->replaceContent(kept)) {
        reportFailure(formatText(text(texts::kPurgeBusy), {std::to_string(userId)}), file->error());
        return false;
    }
    return true;
}

std::optional<int> DataStore::MergeResults(std::int16_t userId, const std::vector<ResultRecord>& imported) {
    const auto name = resultFile(userId);
    if (name.empty()) return std::nullopt;
    // The file is read again under its lock, so results another workstation appended since the
    // list was loaded are merged too.
    auto file = openForUpdate(name, texts::kImportFailed, false);
    if (!file) return std::nullopt;
    // A file too large to be read whole is refused, never cut to what could be read.
    auto content = file->readAll();
    if (!content) {
        reportFailure({}, file->error(), false);
        return std::nullopt;
    }
    // The list is kept in key order while records are merged into it.
    std::vector<std::pair<std::string, std::unique_ptr<TResultInfo>>> keyed;
    for (auto& result : resultsOf(*content)) keyed.emplace_back(result->key(), std::move(result));
    std::ranges::stable_sort(keyed, {}, &decltype(keyed)::value_type::first);
    int added = 0;
    for (ResultRecord record : imported) {
        std::string key = ResultKey(record);
        const auto at = std::ranges::lower_bound(keyed, key, {}, &decltype(keyed)::value_type::first);
        if (at != keyed.end() && at->first == key) continue;
        record.userId = userId;
        keyed.emplace(at, std::move(key), makeResult(std::move(record)));
        ++added;
    }
    std::vector<std::unique_ptr<TResultInfo>> list;
    for (auto& entry : keyed) list.push_back(std::move(entry.second));
    filteredResults_.clear();
    if (added > 0) {
        // The old file is kept under the "x" name until the new one is in place. It is linked
        // (or copied) rather than renamed aside, so the result file never goes missing and a
        // writer arriving meanwhile cannot start a file of its own that the rewrite would replace.
        // A rewrite that fails leaves the old file in place, so the "x" file goes again: left
        // behind it would only tell a later check that an import was interrupted.
        const std::string aside = asideName(file->path());
        if (!file->keepAside(aside, *content)) {
            reportFailure({}, file->error(), false);
            return std::nullopt;
        }
        const bool replaced = file->replaceContent(resultBytes(list));
        file->removeBeside(aside);
        if (!replaced) {
            reportFailure({}, file->error(), false);
            return std::nullopt;
        }
    }
    resultList_ = std::move(list);
    return added;
}

}  // namespace kalvintor::data
