#pragma once

#include "quillet/Export.h"

#include <memory>
#include <string>

namespace quillet {

// One entry of a section: key name and value, as read when the model was loaded. Both are plain
// data for the client: assigning them changes this object only, never the file.
// Created by the library only; handed out shared.
class QUILLET_EXPORT clsValue
{
  public:
    clsValue(detail::Key, std::string Name, std::string Value);
    ~clsValue();
    clsValue(const clsValue&) = delete;
    clsValue& operator=(const clsValue&) = delete;

    std::string Name() const;
    void setName(const std::string& Name);
    std::string Value() const;
    void setValue(const std::string& Value);

  private:
    std::string sName;
    std::string sValue;
};

} // namespace quillet
