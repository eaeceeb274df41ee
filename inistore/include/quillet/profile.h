#pragma once

// The four profile operations with their Win32 names, signatures and return rules, over the
// library's own INI text engine. Files are 8-bit text; names match without regard to ASCII letter
// case and surrounding blanks; lines are written with CRLF, and LF-only or CR-only files read the
// same. Writes replace the file atomically (temporary file in the same folder, then rename,
// keeping the file's permissions) and change only the lines they touch.

#include "quillet/Export.h"

#include <cstdint>

namespace quillet {

// section and key given: copies the key's value (surrounding blanks and one matching pair of outer
// quotes removed) or, when file, section or key is missing, def (null means "") into buffer, at
// most size-1 characters plus a zero; returns the number copied without the zero.
// section null: lists all section names, each followed by a zero, plus one final zero.
// key null: lists the key names of section the same way.
// A list that does not fit is cut, ends with two zeros and returns size-2.
QUILLET_EXPORT uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                                 const char* def, char* buffer, uint32_t size,
                                                 const char* file);

// Copies every entry of section as "key=value" (comments and blank lines left out), each followed
// by a zero, plus one final zero. Returns the count without the final zero; size-2 when cut;
// 0 for a missing file or section.
QUILLET_EXPORT uint32_t GetPrivateProfileSectionA(const char* section, char* buffer, uint32_t size,
                                                  const char* file);

// key and value given: creates file, section and key as needed or replaces the value of the
// first matching key. value null: deletes the key. key null: deletes the section (every section of
// that name) with all its entries. Nonzero on success. Refused (0, file untouched) when a string
// holds CR or LF, or when the key could not be read back as written (contains "=", or starts with
// "[" or ";").
[[nodiscard]] QUILLET_EXPORT int WritePrivateProfileStringA(const char* section, const char* key,
                                              const char* value, const char* file);

// text is a list of "key=value" lines, each followed by a zero, ended by one more zero: the
// section's entries are replaced by them (the section is created at the end of the file when
// missing). An empty list leaves the section without entries; text null deletes the section.
// Nonzero on success; refused when a line holds CR or LF.
[[nodiscard]] QUILLET_EXPORT int WritePrivateProfileSectionA(const char* section, const char* text,
                                               const char* file);

} // namespace quillet
