// Arbitrary bytes as an INI file: the reader must not misbehave, and an edit must do what it says
// without disturbing the rest of the file.

#include "IniText.h"
#include "ProfileOps.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace quillet::detail;

namespace {

void Fail(int line)
{
    std::fprintf(stderr, "check failed at line %d\n", line);
    std::abort();
}
#define Check(condition)                                                                           \
    if (!(condition)) {                                                                            \
        Fail(__LINE__);                                                                            \
    }

std::vector<std::string> SectionNames(const std::shared_ptr<const IniDocument>& doc)
{
    static char buffer[32000];
    const uint32_t n = ListSectionNames({ReadStatus::Ok, doc}, buffer, sizeof buffer);
    Check(n < sizeof buffer);
    std::vector<std::string> names;
    for (std::string_view rest(buffer, n); !rest.empty();) {
        const size_t zero = rest.find('\0');
        Check(zero != std::string_view::npos);
        names.emplace_back(rest.substr(0, zero));
        rest.remove_prefix(zero + 1);
    }
    return names;
}

bool Writable(std::string_view s)
{
    return !HasLineBreak(s);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(16);
    const std::string key = in.ConsumeRandomLengthString(16);
    const std::string value = in.ConsumeRandomLengthString(16);
    const uint32_t small = in.ConsumeIntegralInRange<uint32_t>(0, 64);
    auto doc = std::make_shared<const IniDocument>(in.ConsumeRemainingBytesAsString());

    const std::vector<std::string> before = SectionNames(doc);
    for (const std::string& name : before) {
        Check(doc->FindSection(name) != IniDocument::npos);
        char entries[32766];
        ListSectionEntries({ReadStatus::Ok, doc}, name.c_str(), entries, sizeof entries);
    }
    // Small buffers: never written past, always zero-terminated.
    std::vector<char> buffer(small + 1, 'Z');
    const uint32_t n = ListSectionNames({ReadStatus::Ok, doc}, buffer.data(), small);
    Check(buffer[small] == 'Z' && (small == 0 || n < small));
    // Two zeros end the list: the last name's and the list's own, or two after a cut.
    Check(small < 2 || (buffer[n] == '\0' && ((n > 0 && buffer[n - 1] == '\0') ||
                                              (n + 1 < small && buffer[n + 1] == '\0'))));

    if (!Writable(section) || !Writable(key) || !Writable(value)) {
        return 0;
    }
    const std::string_view trimmedKey = Trim(key);
    if (key.find('=') != std::string::npos ||
        (!trimmedKey.empty() && (trimmedKey.front() == '[' || trimmedKey.front() == ';'))) {
        return 0;
    }
    const bool existed = doc->FindSection(section) != IniDocument::npos;
    const auto text = SetValue(*doc, section, key, value);
    auto edited = text ? std::make_shared<const IniDocument>(*text) : doc;
    const size_t s = edited->FindSection(section);
    Check(s != IniDocument::npos);
    const size_t k = edited->FindKey(s, key);
    Check(k != IniDocument::npos && edited->Lines()[k].kind == LineKind::Entry);
    Check(edited->ValueOf(edited->Lines()[k]) == Trim(value));

    std::vector<std::string> after = SectionNames(edited);
    if (!existed && !Trim(section).empty()) {
        Check(!after.empty() && after.back() == Trim(section));
        after.pop_back();
    }
    Check(after == before);

    if (const auto removed = DeleteSection(*edited, section)) {
        Check(IniDocument(*removed).FindSection(section) == IniDocument::npos);
    }
    return 0;
}
