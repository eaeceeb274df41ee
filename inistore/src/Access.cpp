#include "Model.h"
#include "ProfileOps.h"

#include <memory>

namespace quillet::detail {

namespace {

// The buffers of the model loads; a list longer than these is cut like the Win32 calls cut it.
constexpr uint32_t kSectionListSize = 32000;
constexpr uint32_t kEntryListSize = 32766;

// Walks a zero-separated list: each item is the text before the next zero.
template <class F> void ForEachItem(const char* list, uint32_t count, F&& f)
{
    std::string_view rest(list, count);
    while (!rest.empty()) {
        const size_t zero = rest.find('\0');
        const std::string_view item = rest.substr(0, zero);
        f(item);
        if (zero == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(zero + 1);
    }
}

} // namespace

std::string TrimSpaces(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool UsablePath(const std::string& path)
{
    return !path.empty() && path.find('\0') == std::string::npos;
}

std::shared_ptr<clsSections> Access::NewSections(const std::string& path)
{
    std::shared_ptr<clsSections> sections(new clsSections());
    sections->d->sFile = TrimSpaces(path);
    return sections;
}

void Access::SetFile(clsSections& sections, const std::string& path)
{
    sections.d->sFile = TrimSpaces(path);
    Load(sections);
}

void Access::Load(clsSections& sections)
{
    const std::string& path = sections.d->sFile;
    Load(sections, UsablePath(path) ? ReadIni(path) : Snapshot{});
}

void Access::Load(clsSections& sections, const Snapshot& file)
{
    sections.d->list = {};
    thread_local const auto buffer = std::make_unique_for_overwrite<char[]>(kSectionListSize);
    const uint32_t n = ListSectionNames(file, buffer.get(), kSectionListSize);
    ForEachItem(buffer.get(), n, [&](std::string_view name) {
        auto section = NewSection(sections.d->sFile, std::string(name), file);
        // A name listed again (letter case aside) keeps its first place only.
        sections.d->list.Add(section->d->sName, section);
    });
}

std::shared_ptr<clsSection> Access::NewSection(const std::string& path, const std::string& name,
                                               const Snapshot& file)
{
    std::shared_ptr<clsSection> section(new clsSection());
    section->d->sFile = TrimSpaces(path);
    section->d->sName = TrimSpaces(name);
    section->d->values = NewValues(section->d->sFile, section->d->sName);
    Load(*section->d->values, file);
    return section;
}

std::shared_ptr<clsValues> Access::NewValues(const std::string& path, const std::string& section)
{
    std::shared_ptr<clsValues> values(new clsValues());
    values->d->sFile = TrimSpaces(path);
    values->d->sSection = section;
    return values;
}

void Access::Load(clsValues& values)
{
    const std::string& path = values.d->sFile;
    Load(values, UsablePath(path) ? ReadIni(path) : Snapshot{});
}

void Access::Load(clsValues& values, const Snapshot& file)
{
    values.d->list = {};
    values.d->pending = file;
}

void Access::Build(const clsValues& values)
{
    if (!values.d->pending) {
        return;
    }
    const Snapshot file = std::move(*values.d->pending);
    values.d->pending.reset();
    if (values.d->sSection.find('\0') != std::string::npos) {
        return;
    }
    // One buffer per thread, as for the section names: a fresh 32 KB block for every section
    // listed would cost more than the listing itself.
    thread_local const auto buffer = std::make_unique_for_overwrite<char[]>(kEntryListSize);
    const uint32_t n =
        ListSectionEntries(file, values.d->sSection.c_str(), buffer.get(), kEntryListSize);
    bool duplicate = false;
    ForEachItem(buffer.get(), n, [&](std::string_view line) {
        if (duplicate) {
            return;
        }
        const size_t eq = line.find('=');
        std::string name(line.substr(0, eq));
        std::string value(eq == std::string_view::npos ? std::string_view() : line.substr(eq + 1));
        if (TrimSpaces(name).empty()) {
            return;
        }
        auto item = NewValue(name, std::move(value));
        duplicate = !values.d->list.Add(name, std::move(item));
    });
}

std::shared_ptr<clsValue> Access::NewValue(std::string name, std::string value)
{
    return std::make_shared<clsValue>(Key(), std::move(name), std::move(value));
}

} // namespace quillet::detail
