#pragma once

// The profile operations over an already read file, so that one model load can answer all its
// listings from a single reading of the file.

#include "FileStore.h"

#include <cstdint>
#include <string>

namespace quillet::detail {

// The names of all sections, as GetPrivateProfileStringA with a null section.
uint32_t ListSectionNames(const Snapshot& file, char* buffer, uint32_t size);
// The entries of one section, as GetPrivateProfileSectionA.
uint32_t ListSectionEntries(const Snapshot& file, const char* section, char* buffer, uint32_t size);

enum class AddResult { Created, Present, Failed };
// Creates an empty section at the end of the file unless the file has one of that name already;
// unlike WritePrivateProfileSectionA it never empties an existing section.
AddResult AddSection(const std::string& section, const std::string& file);

// True when s holds a byte that would break the line it is written into.
bool HasLineBreak(std::string_view s);

} // namespace quillet::detail
