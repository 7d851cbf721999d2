#pragma once
// An ordered list of items with optional string keys. Keys are compared without
// regard to case; adding under a key that is already present fails and leaves
// the collection unchanged. Items added with an empty key have no key.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavo {

bool EqualsNoCase(std::string_view a, std::string_view b);
// The text as EqualsNoCase sees it: two texts are equal without regard to case
// exactly when their folded forms are equal, so the folded form can key a hash.
std::string FoldCase(std::string_view text);

template <typename T>
class KeyedCollection {
  public:
    struct Entry {
        std::string key;
        T item;
    };

    // Appends item; false when key is not empty and already in use.
    bool Add(T item, std::string_view key = {}) {
        if (!key.empty() && IndexOf(key)) return false;
        entries_.push_back(Entry{std::string(key), std::move(item)});
        return true;
    }

    std::size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

    // Zero-based access in insertion order.
    const T& At(std::size_t i) const { return entries_.at(i).item; }
    T& At(std::size_t i) { return entries_.at(i).item; }
    const std::string& KeyAt(std::size_t i) const { return entries_.at(i).key; }

    std::optional<std::size_t> IndexOf(std::string_view key) const {
        for (std::size_t i = 0; i < entries_.size(); ++i)
            if (!entries_[i].key.empty() && EqualsNoCase(entries_[i].key, key)) return i;
        return std::nullopt;
    }
    bool Contains(std::string_view key) const { return IndexOf(key).has_value(); }

    const T* Find(std::string_view key) const {
        auto i = IndexOf(key);
        return i ? &entries_[*i].item : nullptr;
    }
    T* Find(std::string_view key) {
        auto i = IndexOf(key);
        return i ? &entries_[*i].item : nullptr;
    }

    void RemoveAt(std::size_t i) { entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i)); }
    void Clear() { entries_.clear(); }

    auto begin() const { return entries_.begin(); }
    auto end() const { return entries_.end(); }
    auto begin() { return entries_.begin(); }
    auto end() { return entries_.end(); }

  private:
    std::vector<Entry> entries_;
};

}  // namespace tavo
