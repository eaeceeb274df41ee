#pragma once

// The collections' state and the library-only operations on them (binding to a file, loading).

#include "FileStore.h"
#include "KeyedList.h"
#include "quillet/OrvaINIManager.h"

#include <optional>
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
    // The reading of the file the list is still to be built from. Building every section's
    // entries at binding would cost more than the rest of the binding together, while a client
    // mostly looks at one section; the reading is immutable, so building late gives the same list.
    std::optional<detail::Snapshot> pending;
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
    // Rebuilds the entry list from this reading of the file (built on first use, see Impl).
    static void Load(clsValues& values, const Snapshot& file);
    static void Load(clsValues& values);
    // Builds a pending entry list. A second entry of a name already listed ends the list, keeping
    // the entries before it (later entries of that name are unreachable by name anyway).
    static void Build(const clsValues& values);

    static std::shared_ptr<clsValue> NewValue(std::string name, std::string value);
};

} // namespace detail
} // namespace quillet
