#include "quillet/OrvaINIManager.h"

#include "Model.h"
#include "ProfileOps.h"
#include "quillet/profile.h"

#include <climits>

namespace quillet {

using detail::Access;

namespace {
constexpr uint32_t kValueSize = 2000;
}

struct OrvaINIManager::Impl
{
    std::string sFile;
    std::shared_ptr<clsSections> sections;
};

OrvaINIManager::OrvaINIManager() : d(std::make_unique<Impl>()) {}
OrvaINIManager::~OrvaINIManager() = default;

std::shared_ptr<clsSections> OrvaINIManager::Sections()
{
    if (!d->sections) {
        d->sections = Access::NewSections(d->sFile);
    }
    return d->sections;
}

void OrvaINIManager::setSections(std::shared_ptr<clsSections> Sections)
{
    d->sections = std::move(Sections);
}

std::string OrvaINIManager::INIFile() const
{
    return d->sFile;
}

void OrvaINIManager::setINIFile(const std::string& strINIFile)
{
    d->sFile = detail::TrimSpaces(strINIFile);
    Refresh();
}

void OrvaINIManager::Refresh()
{
    // A new object, so that collections handed out before keep their old contents.
    d->sections = Access::NewSections(d->sFile);
    Access::SetFile(*d->sections, d->sFile);
}

int32_t OrvaINIManager::Size() const
{
    if (!detail::UsablePath(d->sFile)) {
        return -1;
    }
    const long long length = detail::FileLength(d->sFile);
    return length > INT32_MAX ? -1 : static_cast<int32_t>(length);
}

bool OrvaINIManager::WriteValue(const std::string& Section, const std::string& Key,
                                const std::string& Value)
{
    if (!detail::UsablePath(d->sFile) || detail::HasLineBreak(Section) ||
        detail::HasLineBreak(Key) || detail::HasLineBreak(Value)) {
        return false;
    }
    if (WritePrivateProfileStringA(Section.c_str(), Key.c_str(), Value.c_str(), d->sFile.c_str()) ==
        0) {
        return false;
    }
    Access::Load(*Sections());
    return true;
}

std::string OrvaINIManager::GetValue(const std::string& Section, const std::string& Key,
                                     const std::string& Default)
{
    // A NUL would cut the name short and could match another key.
    if (!detail::UsablePath(d->sFile) || Section.find('\0') != std::string::npos ||
        Key.find('\0') != std::string::npos) {
        return Default;
    }
    char buffer[kValueSize];
    const uint32_t n = GetPrivateProfileStringA(Section.c_str(), Key.c_str(), Default.c_str(),
                                                buffer, kValueSize, d->sFile.c_str());
    return n == 0 ? Default : std::string(buffer, n);
}

} // namespace quillet
