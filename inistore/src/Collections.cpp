#include "Model.h"
#include "ProfileOps.h"
#include "quillet/profile.h"

namespace quillet {

using detail::Access;
using detail::HasLineBreak;

ItemNotFound::ItemNotFound(const std::string& what) : std::out_of_range(what) {}
ItemNotFound::~ItemNotFound() = default;

// clsValue

clsValue::clsValue(detail::Key, std::string Name, std::string Value)
    : sName(std::move(Name)), sValue(std::move(Value))
{
}
clsValue::~clsValue() = default;

std::string clsValue::Name() const
{
    return sName;
}
void clsValue::setName(const std::string& Name)
{
    sName = Name;
}
std::string clsValue::Value() const
{
    return sValue;
}
void clsValue::setValue(const std::string& Value)
{
    sValue = Value;
}

// clsValues

clsValues::clsValues() : d(std::make_unique<Impl>()) {}
clsValues::~clsValues() = default;

bool clsValues::Add(const std::string& Name, const std::string& Value)
{
    if (HasLineBreak(Name) || HasLineBreak(Value) || HasLineBreak(d->sSection) ||
        !detail::UsablePath(d->sFile)) {
        return false;
    }
    if (WritePrivateProfileStringA(d->sSection.c_str(), Name.c_str(), Value.c_str(),
                                   d->sFile.c_str()) == 0) {
        return false;
    }
    Access::Load(*this);
    return true;
}

bool clsValues::Remove(const std::string& Name)
{
    if (HasLineBreak(Name) || HasLineBreak(d->sSection) || !detail::UsablePath(d->sFile)) {
        return false;
    }
    if (WritePrivateProfileStringA(d->sSection.c_str(), Name.c_str(), nullptr, d->sFile.c_str()) ==
        0) {
        return false;
    }
    Access::Load(*this);
    return true;
}

std::shared_ptr<clsValue> clsValues::Item(int32_t Index) const
{
    Access::Build(*this);
    return d->list.At(Index);
}

std::shared_ptr<clsValue> clsValues::Item(const std::string& Index) const
{
    Access::Build(*this);
    return d->list.Named(Index);
}

int32_t clsValues::Count() const
{
    Access::Build(*this);
    return d->list.Count();
}

// clsSection

clsSection::clsSection() : d(std::make_unique<Impl>()) {}
clsSection::~clsSection() = default;

std::shared_ptr<clsValues> clsSection::Values()
{
    if (!d->values) {
        d->values = Access::NewValues(d->sFile, d->sName);
    }
    return d->values;
}

void clsSection::setValues(std::shared_ptr<clsValues> Values)
{
    d->values = std::move(Values);
}

std::string clsSection::Name() const
{
    return d->sName;
}

// clsSections

clsSections::clsSections() : d(std::make_unique<Impl>()) {}
clsSections::~clsSections() = default;

int32_t clsSections::Count() const
{
    return d->list.Count();
}

std::shared_ptr<clsSection> clsSections::Item(int32_t Index) const
{
    return d->list.At(Index);
}

std::shared_ptr<clsSection> clsSections::Item(const std::string& Index) const
{
    return d->list.Named(Index);
}

bool clsSections::Add(const std::string& Name)
{
    const std::string wanted = detail::LowerAscii(detail::TrimSpaces(Name));
    for (const auto& section : d->list.Items()) {
        if (detail::LowerAscii(detail::TrimSpaces(section->Name())) == wanted) {
            return false;
        }
    }
    if (!detail::UsablePath(d->sFile)) {
        return false;
    }
    // The list may be older than the file: a section added there since must keep its entries,
    // which an empty section write would drop.
    if (detail::AddSection(Name, d->sFile) != detail::AddResult::Created) {
        return false;
    }
    Access::Load(*this);
    return true;
}

bool clsSections::Remove(const std::string& Name)
{
    if (HasLineBreak(Name) || !detail::UsablePath(d->sFile)) {
        return false;
    }
    if (WritePrivateProfileStringA(Name.c_str(), nullptr, nullptr, d->sFile.c_str()) == 0) {
        return false;
    }
    Access::Load(*this);
    return true;
}

} // namespace quillet
