#pragma once
// The small files a person picks (profiles, receiver tables): read whole
// within a size limit, and replaced only when complete. Their names are
// UTF-8 text made into paths by FilePath (FilePath.h).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "FilePath.h"
#include "StrictValues.h"

// A path's name as UTF-8 text.
std::string Utf8Name(const std::filesystem::path& path);

// Far more than any profile or table: a device file or a wrong pick is
// refused instead of read whole.
inline constexpr std::uintmax_t kLargestSmallFile = 1 << 20;

// The file's bytes, or why not: "no such file", "not a file", "larger than
// such a file can be", "cannot be read" (with the system's reason when it
// gives one).
Checked<std::string> ReadSmallFile(const std::filesystem::path& path);

// Writes `text` to a file beside `path`, then puts it in place of `path`, so
// that a write that fails half-way leaves the earlier file as it was.
// Nothing on success, else why not.
std::optional<std::string> ReplaceFile(const std::filesystem::path& path, std::string_view text);
