#pragma once

#include "quillet/Errors.h"
#include "quillet/Export.h"
#include "quillet/clsSection.h"

#include <cstdint>
#include <memory>
#include <string>

namespace quillet {

// All sections of one file in file order, as read when the model was last loaded. Positions run
// from 1 to Count; names are matched without regard to letter case. Add and Remove write the file
// at once and rebuild the whole list; sections obtained before stay valid but detached.
// Created by the library only; handed out shared.
class QUILLET_EXPORT clsSections
{
  public:
    ~clsSections();
    clsSections(const clsSections&) = delete;
    clsSections& operator=(const clsSections&) = delete;

    int32_t Count() const;
    // Throws ItemNotFound outside 1..Count.
    std::shared_ptr<clsSection> Item(int32_t Index) const;
    // Throws ItemNotFound when no section has that name.
    std::shared_ptr<clsSection> Item(const std::string& Index) const;
    // Appends an empty section to the file. False when a section of that name (letter case and
    // surrounding blanks ignored) is already listed, or when the write failed.
    bool Add(const std::string& Name);
    // Deletes the section with all its entries from the file. True when the write succeeded,
    // also when no such section existed.
    bool Remove(const std::string& Name);

  private:
    friend struct detail::Access;
    clsSections();

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace quillet
