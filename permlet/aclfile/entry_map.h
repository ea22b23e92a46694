// The entries of one permission file in memory, from a 32-bit key to a record
// text. Seventeen chains decide the order in which a save writes the lines:
// an entry lies in chain (key >> 4) mod 17, a new entry at the head of its
// chain. An index beside the chains finds an entry by its key, so that no
// operation walks a chain and loading a file costs time in line with its size.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace permlet {

class EntryMap {
 public:
  static constexpr std::size_t kBucketCount = 17;

  // Stores a copy of `record` under the key of `name` unless that key already
  // has an entry; false then, and nothing changes.
  bool Add(std::string_view name, std::string_view record);
  // The same with the key given as decimal text, as a file line holds it.
  bool AddByKey(std::string_view keyText, std::string_view record);
  // A copy of the record under the key of `name`.
  std::optional<std::string> Lookup(std::string_view name) const;
  // Replaces the record under the key of `name`; false when there is none.
  bool Replace(std::string_view name, std::string_view record);
  void RemoveAll();
  // Makes room in the index for `count` entries, as loading a file of that
  // many lines needs.
  void Reserve(std::size_t count) { index_.reserve(count); }

  // Calls `visit(key, record)` in table order: chain 0 to 16, each from its
  // head (newest first).
  template <class Visit>
  void VisitInTableOrder(Visit&& visit) const {
    for (const Chain& chain : chains_) {
      if (turned_) {
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) visit(it->key, it->record);
      } else {
        for (const Entry& entry : chain) visit(entry.key, entry.record);
      }
    }
  }

  // Turns every chain round, as loading the map's own save does: each line
  // read heads its chain.
  void TurnChains() { turned_ = !turned_; }
  // Calls `edit(key, record)` for every entry, which may change the record;
  // the entries for which it returns false are removed.
  template <class Edit>
  void EditRecords(Edit&& edit) {
    for (Chain& chain : chains_) {
      for (auto it = chain.begin(); it != chain.end();) {
        if (edit(it->key, it->record)) {
          ++it;
        } else {
          index_.erase(it->key);
          it = chain.erase(it);
        }
      }
    }
  }

 private:
  struct Entry {
    std::uint32_t key;
    std::string record;
  };
  using Chain = std::list<Entry>;

  bool AddKey(std::uint32_t key, std::string_view record);

  std::array<Chain, kBucketCount> chains_;
  std::unordered_map<std::uint32_t, Chain::iterator> index_;
  // Whether every chain's head is its back: turning all chains is one flag.
  bool turned_ = false;
};

}  // namespace permlet
