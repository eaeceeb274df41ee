#include "quillet/profile.h"

#include "ProfileOps.h"

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace quillet {

namespace detail {

namespace {

// Writes a zero-separated list with one more zero at its end. A list that does not fit is cut
// inside its last item and ends with two zeros; the result is then size-2, as Win32 does it.
class ListWriter
{
  public:
    ListWriter(char* buffer, uint32_t size) : buf(buffer), cap(size) {}

    // False once the buffer is full: the caller stops.
    bool Add(std::string_view a, std::string_view b = {}, std::string_view c = {})
    {
        if (cut || cap < 2) {
            return false;
        }
        const size_t len = a.size() + b.size() + c.size();
        // Room is needed for the item, its zero and the list's final zero.
        if (pos + len + 2 <= cap) {
            Put(a);
            Put(b);
            Put(c);
            buf[pos++] = '\0';
            return true;
        }
        for (std::string_view part : {a, b, c}) {
            const size_t room = pos < cap - 2 ? cap - 2 - pos : 0;
            Put(part.substr(0, std::min(room, part.size())));
        }
        buf[cap - 2] = '\0';
        buf[cap - 1] = '\0';
        cut = true;
        return false;
    }

    uint32_t Finish()
    {
        if (cap == 0) {
            return 0;
        }
        if (cut) {
            return cap - 2;
        }
        buf[pos] = '\0';
        if (pos == 0 && cap >= 2) {
            buf[1] = '\0';
        }
        return static_cast<uint32_t>(pos);
    }

  private:
    void Put(std::string_view s)
    {
        if (!s.empty()) {
            std::memcpy(buf + pos, s.data(), s.size());
            pos += s.size();
        }
    }

    char* buf;
    uint32_t cap;
    size_t pos = 0;
    bool cut = false;
};

uint32_t CopyString(std::string_view s, char* buffer, uint32_t size)
{
    if (size == 0) {
        return 0;
    }
    const size_t n = std::min(s.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, s.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

// Win32 hands back a quoted value without its one matching pair of outer quotes.
std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

// Calls each(line) for the lines of the first section named `section`, in file order, until it
// returns false. A missing file or section has no lines.
template <class Each>
void ForEachLineOfSection(const Snapshot& file, const char* section, Each each)
{
    if (!file.doc || section == nullptr)
        return;
    const IniDocument& doc = *file.doc;
    const size_t s = doc.FindSection(section);
    if (s == IniDocument::npos)
        return;
    const Section& sec = doc.Sections()[s];
    for (size_t i = sec.header + 1; i < sec.bodyEnd && each(doc, doc.Lines()[i]); ++i) {
    }
}

uint32_t ListKeyNames(const Snapshot& file, const char* section, char* buffer, uint32_t size)
{
    ListWriter out(buffer, size);
    ForEachLineOfSection(file, section, [&](const IniDocument& doc, const Line& line) {
        return line.kind != LineKind::Entry || doc.NameOf(line).empty() ||
               out.Add(doc.NameOf(line));
    });
    return out.Finish();
}

// A key that the reader would take for something else: a section header, a comment, or a key
// cut short at its own "=".
bool UnreadableKey(std::string_view key)
{
    const std::string_view trimmed = Trim(key);
    return key.find('=') != std::string_view::npos ||
           (!trimmed.empty() && (trimmed.front() == '[' || trimmed.front() == ';'));
}

bool Usable(const char* file)
{
    return file != nullptr && *file != '\0';
}

// Read, change, write back: one at a time in this process, so that two threads writing the same
// file cannot lose each other's change between the read and the rename.
std::mutex& WriteLock()
{
    static std::mutex lock;
    return lock;
}

template <class F> int Edit(const char* file, F&& change)
{
    std::lock_guard guard(WriteLock());
    const Snapshot ini = ReadIni(file);
    if (ini.status == ReadStatus::Failed) {
        // Never replace a file that is there but could not be read.
        return 0;
    }
    const IniDocument empty{std::string()};
    const std::optional<std::string> text = change(ini.doc ? *ini.doc : empty);
    return !text || WriteIni(file, *text) ? 1 : 0;
}

} // namespace

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

uint32_t ListSectionNames(const Snapshot& file, char* buffer, uint32_t size)
{
    ListWriter out(buffer, size);
    if (file.doc) {
        const IniDocument& doc = *file.doc;
        for (const Section& s : doc.Sections()) {
            // A nameless section cannot be told apart from the list's end; it is left out.
            if (!doc.NameOf(s).empty() && !out.Add(doc.NameOf(s))) {
                break;
            }
        }
    }
    return out.Finish();
}

uint32_t ListSectionEntries(const Snapshot& file, const char* section, char* buffer, uint32_t size)
{
    ListWriter out(buffer, size);
    ForEachLineOfSection(file, section, [&](const IniDocument& doc, const Line& line) {
        if (line.kind == LineKind::Entry)
            return out.Add(doc.NameOf(line), "=", doc.ValueOf(line));
        if (line.kind == LineKind::Bare)
            return out.Add(doc.NameOf(line));
        return true;
    });
    return out.Finish();
}

} // namespace detail

using namespace detail;

uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* def,
                                  char* buffer, uint32_t size, const char* file)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const Snapshot ini = Usable(file) ? ReadIni(file) : Snapshot{};
    if (section == nullptr) {
        return ListSectionNames(ini, buffer, size);
    }
    if (key == nullptr) {
        return ListKeyNames(ini, section, buffer, size);
    }
    if (ini.doc) {
        const IniDocument& doc = *ini.doc;
        const size_t s = doc.FindSection(section);
        const size_t k = s == IniDocument::npos ? IniDocument::npos : doc.FindKey(s, key);
        if (k != IniDocument::npos && doc.Lines()[k].kind == LineKind::Entry) {
            return CopyString(Unquote(doc.ValueOf(doc.Lines()[k])), buffer, size);
        }
    }
    return CopyString(def == nullptr ? "" : def, buffer, size);
}

uint32_t GetPrivateProfileSectionA(const char* section, char* buffer, uint32_t size,
                                   const char* file)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    const Snapshot ini = Usable(file) ? ReadIni(file) : Snapshot{};
    return ListSectionEntries(ini, section, buffer, size);
}

int WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                               const char* file)
{
    if (section == nullptr) {
        // Win32 uses all-null arguments to flush its cache; there is nothing to flush here.
        return key == nullptr && value == nullptr ? 1 : 0;
    }
    if (!Usable(file) || HasLineBreak(section) || (key != nullptr && HasLineBreak(key)) ||
        (value != nullptr && HasLineBreak(value))) {
        return 0;
    }
    if (key == nullptr) {
        return Edit(file, [&](const IniDocument& doc) { return DeleteSection(doc, section); });
    }
    if (value == nullptr) {
        return Edit(file, [&](const IniDocument& doc) { return DeleteKey(doc, section, key); });
    }
    if (UnreadableKey(key)) {
        return 0;
    }
    return Edit(file, [&](const IniDocument& doc) { return SetValue(doc, section, key, value); });
}

int WritePrivateProfileSectionA(const char* section, const char* text, const char* file)
{
    if (section == nullptr || !Usable(file) || HasLineBreak(section)) {
        return 0;
    }
    std::vector<std::string_view> entries;
    for (const char* p = text; p != nullptr && *p != '\0'; p += std::strlen(p) + 1) {
        entries.emplace_back(p);
        if (HasLineBreak(entries.back())) {
            return 0;
        }
    }
    if (text == nullptr) {
        return Edit(file, [&](const IniDocument& doc) { return DeleteSection(doc, section); });
    }
    return Edit(file,
                [&](const IniDocument& doc) { return ReplaceSection(doc, section, entries); });
}

namespace detail {

AddResult AddSection(const std::string& section, const std::string& file)
{
    if (HasLineBreak(section) || !Usable(file.c_str())) {
        return AddResult::Failed;
    }
    bool present = false;
    const int ok = Edit(file.c_str(), [&](const IniDocument& doc) -> std::optional<std::string> {
        present = doc.FindSection(section) != IniDocument::npos;
        if (present) {
            return std::nullopt;
        }
        return ReplaceSection(doc, section, {});
    });
    return ok == 0 ? AddResult::Failed : present ? AddResult::Present : AddResult::Created;
}

} // namespace detail

} // namespace quillet
