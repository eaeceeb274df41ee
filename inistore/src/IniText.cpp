#include "IniText.h"

#include <algorithm>

namespace quillet::detail {

namespace {

constexpr std::string_view kNewLine = "\r\n";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

char LowerChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Builds a new text from pieces of the old one; appending a line after a last line that has no
// line break first ends that line, so the new line never glues onto it.
class Splicer
{
  public:
    explicit Splicer(const std::string& text) : sOld(text) { sNew.reserve(text.size() + 64); }

    void CopyUpTo(size_t pos)
    {
        sNew.append(sOld, copied, pos - copied);
        copied = pos;
    }
    void Skip(size_t pos) { copied = pos; }
    void InsertLine(std::string_view a, std::string_view b = {}, std::string_view c = {})
    {
        if (!sNew.empty() && sNew.back() != '\n' && sNew.back() != '\r') {
            sNew += kNewLine;
        }
        sNew += a;
        sNew += b;
        sNew += c;
        sNew += kNewLine;
    }
    void Insert(std::string_view s) { sNew += s; }
    std::string Finish()
    {
        CopyUpTo(sOld.size());
        return std::move(sNew);
    }

  private:
    const std::string& sOld;
    std::string sNew;
    size_t copied = 0;
};

// Where a new key goes: after the section's last entry (so blank lines and comments that lead
// into the next section stay in front of it), or right after the header of an empty section.
size_t AppendPoint(const IniDocument& doc, const Section& section)
{
    const auto& lines = doc.Lines();
    size_t last = section.header;
    for (size_t i = section.header + 1; i < section.bodyEnd; ++i) {
        if (lines[i].kind == LineKind::Entry || lines[i].kind == LineKind::Bare) {
            last = i;
        }
    }
    return lines[last].next;
}

} // namespace

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && IsBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerChar(a[i]) != LowerChar(b[i])) {
            return false;
        }
    }
    return true;
}

std::string LowerAscii(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), LowerChar);
    return out;
}

IniDocument::IniDocument(std::string text) : sText(std::move(text))
{
    Parse();
}

std::string_view IniDocument::NameOf(const Line& line) const
{
    return std::string_view(sText).substr(line.nameBegin, line.nameEnd - line.nameBegin);
}

std::string_view IniDocument::ValueOf(const Line& line) const
{
    return std::string_view(sText).substr(line.valueBegin, line.valueEnd - line.valueBegin);
}

void IniDocument::Parse()
{
    const size_t size = sText.size();
    vLines.reserve(size / 24 + 1);
    size_t pos = 0;
    // A byte-order mark is not part of the first line's text; it stays in the file untouched.
    size_t contentBegin = std::string_view(sText).starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    while (pos < size) {
        Line line;
        line.begin = pos;
        size_t end = pos;
        while (end < size && sText[end] != '\r' && sText[end] != '\n') {
            ++end;
        }
        line.end = end;
        line.next = end;
        if (end < size) {
            line.next = (sText[end] == '\r' && end + 1 < size && sText[end + 1] == '\n') ? end + 2
                                                                                         : end + 1;
        }
        ClassifyLine(line, std::max(contentBegin, pos));
        contentBegin = 0;
        if (line.kind == LineKind::Section) {
            if (!vSections.empty()) {
                vSections.back().bodyEnd = vLines.size();
            }
            vSections.push_back({vLines.size(), 0});
            mFirstSection.try_emplace(LowerAscii(NameOf(line)), vSections.size() - 1);
        }
        vLines.push_back(line);
        pos = line.next;
    }
    if (!vSections.empty()) {
        vSections.back().bodyEnd = vLines.size();
    }
}

void IniDocument::ClassifyLine(Line& line, size_t contentBegin)
{
    const std::string_view all(sText);
    // Text after a NUL is not part of the line: every list hands names and values over
    // zero-terminated, so a NUL inside one would split it into two.
    std::string_view raw = all.substr(contentBegin, line.end - contentBegin);
    raw = raw.substr(0, raw.find('\0'));
    const std::string_view text = Trim(raw);
    const size_t textBegin = contentBegin + static_cast<size_t>(text.data() - raw.data());
    if (text.empty()) {
        line.kind = LineKind::Blank;
        return;
    }
    if (text.front() == ';') {
        line.kind = LineKind::Comment;
        return;
    }
    if (text.front() == '[') {
        const size_t close = text.rfind(']');
        if (close != std::string_view::npos) {
            const std::string_view name = Trim(text.substr(1, close - 1));
            line.kind = LineKind::Section;
            line.nameBegin = static_cast<size_t>(name.data() - all.data());
            line.nameEnd = line.nameBegin + name.size();
            return;
        }
    }
    const size_t eq = text.find('=');
    const std::string_view key = Trim(text.substr(0, eq));
    line.nameBegin = static_cast<size_t>(key.data() - all.data());
    line.nameEnd = line.nameBegin + key.size();
    if (eq == std::string_view::npos) {
        line.kind = LineKind::Bare;
        return;
    }
    line.kind = LineKind::Entry;
    line.equals = textBegin + eq;
    const std::string_view value = Trim(text.substr(eq + 1));
    line.valueBegin = static_cast<size_t>(value.data() - all.data());
    line.valueEnd = line.valueBegin + value.size();
}

size_t IniDocument::FindSection(std::string_view name) const
{
    const auto it = mFirstSection.find(LowerAscii(Trim(name)));
    return it == mFirstSection.end() ? npos : it->second;
}

size_t IniDocument::FindKey(size_t section, std::string_view key) const
{
    const std::string_view wanted = Trim(key);
    const Section& s = vSections[section];
    for (size_t i = s.header + 1; i < s.bodyEnd; ++i) {
        const Line& line = vLines[i];
        if ((line.kind == LineKind::Entry || line.kind == LineKind::Bare) &&
            EqualNoCase(NameOf(line), wanted)) {
            return i;
        }
    }
    return npos;
}

std::optional<std::string> SetValue(const IniDocument& doc, std::string_view section,
                                    std::string_view key, std::string_view value)
{
    Splicer out(doc.Text());
    const size_t s = doc.FindSection(section);
    if (s == IniDocument::npos) {
        out.CopyUpTo(doc.Text().size());
        out.InsertLine("[", section, "]");
        out.InsertLine(key, "=", value);
        return out.Finish();
    }
    const size_t k = doc.FindKey(s, key);
    if (k == IniDocument::npos) {
        out.CopyUpTo(AppendPoint(doc, doc.Sections()[s]));
        out.InsertLine(key, "=", value);
        return out.Finish();
    }
    const Line& line = doc.Lines()[k];
    if (line.kind == LineKind::Bare) {
        out.CopyUpTo(line.nameEnd);
        out.Skip(line.end);
        out.Insert("=");
    } else {
        // The key and its spelling stay as they are; only the text after "=" is replaced.
        const size_t valueStart = line.equals + 1;
        if (std::string_view(doc.Text()).substr(valueStart, line.end - valueStart) == value) {
            return std::nullopt;
        }
        out.CopyUpTo(valueStart);
        out.Skip(line.end);
    }
    out.Insert(value);
    return out.Finish();
}

std::optional<std::string> DeleteKey(const IniDocument& doc, std::string_view section,
                                     std::string_view key)
{
    const size_t s = doc.FindSection(section);
    if (s == IniDocument::npos) {
        return std::nullopt;
    }
    const size_t k = doc.FindKey(s, key);
    if (k == IniDocument::npos) {
        return std::nullopt;
    }
    Splicer out(doc.Text());
    out.CopyUpTo(doc.Lines()[k].begin);
    out.Skip(doc.Lines()[k].next);
    return out.Finish();
}

std::optional<std::string> DeleteSection(const IniDocument& doc, std::string_view section)
{
    const std::string_view wanted = Trim(section);
    Splicer out(doc.Text());
    bool changed = false;
    // Every section of that name goes, so that a duplicate does not surface in its place.
    for (const Section& s : doc.Sections()) {
        if (EqualNoCase(doc.NameOf(s), wanted)) {
            out.CopyUpTo(doc.Lines()[s.header].begin);
            out.Skip(doc.Lines()[s.bodyEnd - 1].next);
            changed = true;
        }
    }
    if (!changed) {
        return std::nullopt;
    }
    return out.Finish();
}

std::optional<std::string> ReplaceSection(const IniDocument& doc, std::string_view section,
                                          const std::vector<std::string_view>& entries)
{
    Splicer out(doc.Text());
    const size_t s = doc.FindSection(section);
    if (s == IniDocument::npos) {
        out.CopyUpTo(doc.Text().size());
        out.InsertLine("[", section, "]");
        for (std::string_view entry : entries) {
            out.InsertLine(entry);
        }
        return out.Finish();
    }
    const auto& lines = doc.Lines();
    const Section& sec = doc.Sections()[s];
    // Blank lines at the section's end separate it from the next one; they stay.
    size_t bodyEnd = sec.bodyEnd;
    while (bodyEnd > sec.header + 1 && lines[bodyEnd - 1].kind == LineKind::Blank) {
        --bodyEnd;
    }
    if (bodyEnd == sec.header + 1 && entries.empty()) {
        return std::nullopt;
    }
    out.CopyUpTo(lines[sec.header].next);
    out.Skip(lines[bodyEnd - 1].next);
    for (std::string_view entry : entries) {
        out.InsertLine(entry);
    }
    return out.Finish();
}

} // namespace quillet::detail
