#pragma once

// The INI text engine: one file's bytes parsed into lines, lookups by name, and edits that splice
// only the lines they touch into a copy of the original bytes. Pure: bytes in, result out.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quillet::detail {

enum class LineKind : uint8_t {
    Blank,   // nothing but blanks
    Comment, // first non-blank character is ";"
    Section, // "[name]"
    Entry,   // "key=value"
    Bare,    // text without "=": a key without a value
};

struct Line
{
    size_t begin = 0; // first byte of the line
    size_t end = 0;   // one past the last byte before the line break
    size_t next = 0;  // first byte of the following line (end + length of the line break)
    LineKind kind = LineKind::Blank;
    // Section: the trimmed name; Entry and Bare: the trimmed key.
    size_t nameBegin = 0, nameEnd = 0;
    // Entry: the position of the "=" and the trimmed value.
    size_t equals = 0;
    size_t valueBegin = 0, valueEnd = 0;
};

struct Section
{
    size_t header = 0;  // index of the "[name]" line
    size_t bodyEnd = 0; // index one past its last line
};

bool IsBlank(char c);
std::string_view Trim(std::string_view s);
bool EqualNoCase(std::string_view a, std::string_view b);
std::string LowerAscii(std::string_view s);

class IniDocument
{
  public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    explicit IniDocument(std::string text);

    const std::string& Text() const { return sText; }
    const std::vector<Line>& Lines() const { return vLines; }
    const std::vector<Section>& Sections() const { return vSections; }

    std::string_view NameOf(const Line& line) const;
    std::string_view ValueOf(const Line& line) const;
    std::string_view NameOf(const Section& section) const { return NameOf(vLines[section.header]); }

    // Index into Sections() of the first section with that name (blanks and case ignored).
    size_t FindSection(std::string_view name) const;
    // Index into Lines() of the first Entry or Bare line of that key in the section.
    size_t FindKey(size_t section, std::string_view key) const;

  private:
    void Parse();
    void ClassifyLine(Line& line, size_t contentBegin);

    std::string sText;
    std::vector<Line> vLines;
    std::vector<Section> vSections;
    std::unordered_map<std::string, size_t> mFirstSection; // lower-cased name -> first section
};

// Edits. Each returns the new file text, or nothing when the file would not change.
// New lines end with CRLF; every untouched line keeps its bytes and its own line break.
std::optional<std::string> SetValue(const IniDocument& doc, std::string_view section,
                                    std::string_view key, std::string_view value);
std::optional<std::string> DeleteKey(const IniDocument& doc, std::string_view section,
                                     std::string_view key);
std::optional<std::string> DeleteSection(const IniDocument& doc, std::string_view section);
std::optional<std::string> ReplaceSection(const IniDocument& doc, std::string_view section,
                                          const std::vector<std::string_view>& entries);

} // namespace quillet::detail
