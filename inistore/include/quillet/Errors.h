#pragma once

#include "quillet/Export.h"

#include <stdexcept>
#include <string>

namespace quillet {

// Thrown by clsSections::Item and clsValues::Item when the position lies outside 1..Count or no
// item carries the name. Nothing in the collection changes. Derived from std::out_of_range (and so
// from std::logic_error and std::exception).
class QUILLET_EXPORT ItemNotFound : public std::out_of_range
{
  public:
    explicit ItemNotFound(const std::string& what);
    ~ItemNotFound() override;
};

} // namespace quillet
