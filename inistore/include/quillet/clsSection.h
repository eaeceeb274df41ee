#pragma once

#include "quillet/Export.h"
#include "quillet/clsValues.h"

#include <memory>
#include <string>

namespace quillet {

// One section of the file: its trimmed name and its entries. Created by the library only;
// handed out shared.
class QUILLET_EXPORT clsSection
{
  public:
    ~clsSection();
    clsSection(const clsSection&) = delete;
    clsSection& operator=(const clsSection&) = delete;

    // Never null: an empty entry list bound to this section is made on first use.
    std::shared_ptr<clsValues> Values();
    void setValues(std::shared_ptr<clsValues> Values);
    std::string Name() const;

  private:
    friend struct detail::Access;
    clsSection();

    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace quillet
