#pragma once

// The collections' state and the library-only operations on them (binding to a file, loading).

#include "FileStore.h"
#include "KeyedList.h"
#include "quillet/OrvaINIManager.h"

#include <string>

namespace quillet {

struct clsSections::Impl
{
    std::string sFile;
    detail::KeyedList<clsSection> list;
};

struct clsSection::Impl
{
    std::string sFile;
    std::string sName;
    std::shared_ptr<clsValues> values;
};

struct clsValues::Impl
{
    std::string sFile;
    std::string sSection;
    detail::KeyedList<clsValue> list;
};

namespace detail {

// Visual Basic's Trim, which the model uses for paths and names: spaces only.
std::string TrimSpaces(const std::string& s);

// A path the engine can be handed: not blank, and no NUL that would cut it short.
bool UsablePath(const std::string& path);

struct Access
{
    static std::shared_ptr<clsSections> NewSections(const std::string& path);
    // Stores the path trimmed, then loads the whole model from the file.
    static void SetFile(clsSections& sections, const std::string& path);
    // Rebuilds the section list from one reading of the file. Never throws.
    static void Load(clsSections& sections);
    static void Load(clsSections& sections, const Snapshot& file);

    // Stores the trimmed name and loads the section's entries from file.
    static std::shared_ptr<clsSection> NewSection(const std::string& path, const std::string& name,
                                                  const Snapshot& file);

    static std::shared_ptr<clsValues> NewValues(const std::string& path,
                                                const std::string& section);
    // Rebuilds the entry list; a second entry of a name already listed ends the load, keeping
    // the entries read so far (the file's later entries of that name are unreachable by name).
    static void Load(clsValues& values, const Snapshot& file);
    static void Load(clsValues& values);

    static std::shared_ptr<clsValue> NewValue(std::string name, std::string value);
};

} // namespace detail
} // namespace quillet
