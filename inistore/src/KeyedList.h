#pragma once

// The collections' item list: positions 1..Count in insertion order, and names unique without
// regard to letter case.

#include "IniText.h"
#include "quillet/Errors.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quillet::detail {

template <class T> class KeyedList
{
  public:
    // False, and nothing added, when an item of that name is present already.
    bool Add(const std::string& name, std::shared_ptr<T> item)
    {
        if (!vIndex.try_emplace(LowerAscii(name), vItems.size()).second) {
            return false;
        }
        vItems.push_back(std::move(item));
        return true;
    }

    bool Contains(const std::string& name) const { return vIndex.count(LowerAscii(name)) != 0; }

    int32_t Count() const { return static_cast<int32_t>(vItems.size()); }

    const std::vector<std::shared_ptr<T>>& Items() const { return vItems; }

    std::shared_ptr<T> At(int32_t position) const
    {
        if (position < 1 || position > Count()) {
            throw ItemNotFound("no item at position " + std::to_string(position) + " of " +
                               std::to_string(Count()));
        }
        return vItems[static_cast<size_t>(position - 1)];
    }

    std::shared_ptr<T> Named(const std::string& name) const
    {
        const auto it = vIndex.find(LowerAscii(name));
        if (it == vIndex.end()) {
            throw ItemNotFound("no item named \"" + name + "\"");
        }
        return vItems[it->second];
    }

  private:
    std::vector<std::shared_ptr<T>> vItems;
    std::unordered_map<std::string, size_t> vIndex;
};

} // namespace quillet::detail
