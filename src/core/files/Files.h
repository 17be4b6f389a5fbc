// File helpers shared by every reader and writer: whole-file reads, case-insensitive lookup of the
// program's own files, and atomic replacement of files that are rewritten whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kalvintor::files {

// The whole file, or nothing when it cannot be opened or read. Files above `limit` bytes are
// refused: nothing the program reads whole is that large.
std::optional<std::string> readFile(const std::filesystem::path& file,
                                    std::uintmax_t limit = 64u * 1024u * 1024u);

// The entry of `dir` whose name equals `name` without regard to ASCII case; an exact match wins.
// A name holding a path separator, "." or ".." is never found.
std::optional<std::filesystem::path> findCaseInsensitive(const std::filesystem::path& dir,
                                                         std::string_view name);

bool equalsIgnoringCase(std::string_view a, std::string_view b);

enum class WriteError { None, CannotCreate, CannotWrite, CannotReplace };

// Writes `bytes` to a temporary file beside `file`, flushes it to disk and renames it over
// `file`, so that a crash or a full disk leaves either the old or the new file.
WriteError writeFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);
WriteError writeFileAtomically(const std::filesystem::path& file, std::string_view bytes);

}  // namespace kalvintor::files
