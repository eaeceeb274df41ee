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
        if (Find(name) != npos) {
            return false;
        }
        if (!mIndex.empty() || vItems.size() == kScanLimit) {
            IndexAll();
            mIndex.emplace(LowerAscii(name), vItems.size());
        }
        vNames.push_back(name);
        vHashes.push_back(HashNoCase(name));
        vItems.push_back(std::move(item));
        return true;
    }

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
        const size_t i = Find(name);
        if (i == npos) {
            throw ItemNotFound("no item named \"" + name + "\"");
        }
        return vItems[i];
    }

  private:
    static constexpr size_t npos = static_cast<size_t>(-1);
    // Most lists are a few dozen items: scanning them beats hashing every name.
    static constexpr size_t kScanLimit = 64;

    size_t Find(const std::string& name) const
    {
        if (mIndex.empty()) {
            const uint32_t hash = HashNoCase(name);
            for (size_t i = 0; i < vNames.size(); ++i) {
                if (vHashes[i] == hash && EqualNoCase(vNames[i], name)) {
                    return i;
                }
            }
            return npos;
        }
        const auto it = mIndex.find(LowerAscii(name));
        return it == mIndex.end() ? npos : it->second;
    }

    void IndexAll()
    {
        if (mIndex.empty()) {
            for (size_t i = 0; i < vNames.size(); ++i) {
                mIndex.emplace(LowerAscii(vNames[i]), i);
            }
        }
    }

    // FNV-1a over the lower-cased name: channel names share long prefixes, so comparing the
    // names themselves would walk most of each one.
    static uint32_t HashNoCase(std::string_view s)
    {
        uint32_t h = 2166136261u;
        for (char c : s) {
            h = (h ^ static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c)) *
                16777619u;
        }
        return h;
    }

    std::vector<std::string> vNames;
    std::vector<uint32_t> vHashes;
    std::vector<std::shared_ptr<T>> vItems;
    std::unordered_map<std::string, size_t> mIndex; // lower-cased name -> position, once large
};

} // namespace quillet::detail
