#pragma once

#include "quillet/Errors.h"
#include "quillet/Export.h"
#include "quillet/clsValue.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

// The entries of one section in file order. Positions run from 1 to Count; names are matched
// without regard to letter case. Add and Remove write the file at once and reload this collection
// only. Created by the library only; handed out shared.
class QUILLET_EXPORT clsValues
{
  public:
    ~clsValues();
    clsValues(const clsValues&) = delete;
    clsValues& operator=(const clsValues&) = delete;

    // Writes Name=Value into this section of the file (new key at the section's end, or the
    // existing key's value replaced in place). True when the file was written.
    bool Add(const std::string& Name, const std::string& Value);
    // Deletes the key from this section of the file. True when the write succeeded, also when no
    // such key existed.
    bool Remove(const std::string& Name);
    // Throws ItemNotFound outside 1..Count.
    std::shared_ptr<clsValue> Item(int32_t Index) const;
    // Throws ItemNotFound when no entry has that name.
    std::shared_ptr<clsValue> Item(const std::string& Index) const;
    int32_t Count() const;

  private:
    friend struct detail::Access;
    clsValues();

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace quillet
