// Setting.dat: the shared settings record (key 1) and the private records of users.
#include "data/DataFiles.h"
#include "data/DataStore.h"
#include "data/RecordScan.h"
#include "files/Files.h"

#include <algorithm>
#include <vector>

namespace kalvintor::data {

namespace r = records;
namespace s = settings;

namespace {

constexpr std::int16_t kSharedKey = 1;
constexpr std::int32_t kLowColourDefault = 0x02AFD3AF;

std::int16_t keyOf(r::Bytes record) {
    return r::getI16(record, s::offsets::kKey);
}

std::optional<std::uint64_t> findKey(std::string_view file, std::int16_t key) {
    return findRecord(file, s::kSettingRecordSize, [&](r::Bytes b) { return keyOf(b) == key; });
}

}  // namespace

std::string DataStore::chooseLanguage() const {
    const auto& dir = environment_.languageDir;
    const std::string local = LanguageForLocale(environment_.systemLanguageId);
    if (files::findCaseInsensitive(dir, local + ".lan")) return local;
    if (files::findCaseInsensitive(dir, "English.lan")) return "English";
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 4 && files::equalsIgnoringCase(name.substr(name.size() - 4), ".lan"))
            names.push_back(name);
    }
    if (names.empty()) return s::Settings{}.language;
    std::ranges::sort(names);
    return names.front().substr(0, names.front().find('.'));
}

bool DataStore::LoadSettings(std::int16_t userId, bool create) {
    const auto path = dataPath_ / file_names::kSettings;
    const auto file = readSharedFile(path);
    if (file) {
        auto at = findKey(*file, userId);
        if (!at) at = findKey(*file, kSharedKey);
        if (at) {
            if (auto loaded =
                    s::decodeSettings(asBytes(std::string_view(*file).substr(*at, s::kSettingRecordSize)))) {
                Settings = std::move(*loaded);
                return true;
            }
        }
    }
    Settings = s::defaultSettings();
    if (environment_.lowColourDisplay) Settings.colour = kLowColourDefault;
    Settings.language = chooseLanguage();
    if (!file && create) {
        auto created = openForUpdate(file_names::kSettings, texts::kSaveSettingsBusy);
        // Another workstation may have created it in the meantime; its record stands.
        if (created && created->size() == 0) {
            Settings.key = kSharedKey;
            finish(*created, texts::kSaveSettingsBusy, created->writeAt(0, s::encodeSettings(Settings)));
        }
    }
    return false;
}

bool DataStore::SaveSettings(std::int16_t userId) {
    auto file = openForUpdate(file_names::kSettings, texts::kSaveSettingsBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kSaveSettingsBusy);
    if (!content) return false;
    const auto at = findKey(*content, userId);
    Settings.key = userId;
    const auto bytes = s::encodeSettings(Settings);
    return finish(*file, texts::kSaveSettingsBusy,
                  file->writeAt(at ? *at : file->appendOffset(s::kSettingRecordSize), bytes));
}

bool DataStore::DeleteSettings(std::int16_t userId) {
    auto file = openForUpdate(file_names::kSettings, texts::kDeleteSettingsBusy);
    if (!file) return false;
    const auto content = readLocked(*file, texts::kDeleteSettingsBusy);
    if (!content) return false;
    const auto at = findKey(*content, userId);
    if (!at) return true;
    s::SettingBytes bytes{};
    std::copy_n(content->begin() + static_cast<std::ptrdiff_t>(*at), s::kSettingRecordSize, bytes.begin());
    r::putI16(bytes, s::offsets::kKey, 0);
    return finish(*file, texts::kDeleteSettingsBusy, file->writeAt(*at, bytes));
}

}  // namespace kalvintor::data
