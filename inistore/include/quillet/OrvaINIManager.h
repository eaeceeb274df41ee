#pragma once

// The chief header of Quillet: including it alone gives the manager and every collection class.

#include "quillet/Errors.h"
#include "quillet/Export.h"
#include "quillet/clsSection.h"
#include "quillet/clsSections.h"
#include "quillet/clsValue.h"
#include "quillet/clsValues.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

// Structured access to one INI file at a time. Make one with
// std::make_shared<quillet::OrvaINIManager>() and bind it with setINIFile before each group of
// accesses. GetValue always reads the file as it is now; Sections is a snapshot taken at binding,
// Refresh and after each successful WriteValue. No call throws for file problems: reads fall back
// to the default, writes return false and leave file and model as they were.
class QUILLET_EXPORT OrvaINIManager
{
  public:
    OrvaINIManager();
    ~OrvaINIManager();
    OrvaINIManager(const OrvaINIManager&) = delete;
    OrvaINIManager& operator=(const OrvaINIManager&) = delete;

    // Never null: an empty collection is made on first use.
    std::shared_ptr<clsSections> Sections();
    void setSections(std::shared_ptr<clsSections> Sections);

    // The bound path without surrounding blanks; "" while unbound.
    std::string INIFile() const;
    // Binds (or re-binds) and loads a fresh section model. A blank path unbinds.
    void setINIFile(const std::string& strINIFile);
    // Loads a fresh section model from the bound file.
    void Refresh();
    // The file's length in bytes; -1 when unbound or when the length cannot be had.
    int32_t Size() const;

    // Creates file, section and key as needed, or replaces the key's value. False when unbound,
    // when a name or the value holds a line break or NUL, when the key could not be read back as
    // written (see WritePrivateProfileStringA), or when the file could not be written.
    [[nodiscard]] bool WriteValue(const std::string& Section, const std::string& Key, const std::string& Value);
    // The key's value without surrounding blanks (at most 1999 characters); Default when unbound,
    // when the key is missing and when its value is empty.
    std::string GetValue(const std::string& Section, const std::string& Key,
                         const std::string& Default = "");

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace quillet
