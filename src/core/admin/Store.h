// The data store as the admin commands open it: messages to the error stream, bounded lock
// waits, and lookups that never create a file.
#pragma once

#include "admin/Admin.h"
#include "data/DataStore.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kalvintor::admin {

// A store of `directory` that reports to the error stream and gives up on held files as the
// context says; the directory is taken as it is, without checking it holds user data.
std::unique_ptr<data::DataStore> makeStore(const Context& context, const std::filesystem::path& directory);

// The store of the context's data directory, or nothing (with the reason on the error stream)
// when the directory holds no user data. The directory may also be the one above "Data".
std::unique_ptr<data::DataStore> openStore(const Context& context);

// Common.dat as it is, without creating or repairing it; the defaults when it is missing.
void readCommon(data::DataStore& store);

// A live user by id or login name (case-insensitive); the store's users must be loaded.
data::TUserInfo* findUser(const data::DataStore& store, std::string_view loginOrId);

// The user's result file when one exists; nothing otherwise. Creates nothing.
std::optional<std::filesystem::path> existingResultFile(const data::DataStore& store, std::int16_t userId);

// "student", "teacher", "administrator" for the low four bits of an access level.
std::string_view levelName(std::int32_t accessLevel);

// The whole part of a decimal number that fits an int, or nothing.
std::optional<int> parseNumber(std::string_view text);

}  // namespace kalvintor::admin
