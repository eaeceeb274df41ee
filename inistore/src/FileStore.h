#pragma once

// Reading and writing whole INI files. Reads may be answered from a parsed copy, but only after
// checking it against the file on every call, so callers see what a fresh read would give.
// Writes replace the file atomically.

#include "IniText.h"

#include <memory>
#include <string>
#include <string_view>

namespace quillet::detail {

enum class ReadStatus {
    Ok,
    Missing, // no such file (or a folder on the way is missing)
    Failed,  // there, but not a readable regular file
};

struct Snapshot
{
    ReadStatus status = ReadStatus::Missing;
    std::shared_ptr<const IniDocument> doc; // set when status is Ok
};

Snapshot ReadIni(const std::string& path);

// Writes text to a temporary file in the target's folder and renames it over the target, keeping
// the target's permissions (and owner, where allowed). Follows a symbolic link to its target.
// False, with the old file untouched, when any step fails or the existing file is read-only.
bool WriteIni(const std::string& path, std::string_view text);

// Length in bytes of the regular file at path, or -1.
long long FileLength(const std::string& path);

} // namespace quillet::detail
