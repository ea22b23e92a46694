// The entries of one permission file in memory: a 17-bucket hash table from
// a 32-bit key to a record text. The map owns a private copy of every record,
// kept on its list of owned texts, through which replacing and clearing free
// them. Two system-wide named locks guard it: "lockaamap" the table and
// "lockgarbage" the owned texts; when both are held, "lockaamap" comes first.
#pragma once

#include <array>
#include <cstdint>
#include <forward_list>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace permlet {

class EntryMap {
 public:
  static constexpr std::size_t kBucketCount = 17;

  struct Entry {
    std::uint32_t key;
    std::string record;
  };

  // Opens the two named locks. Throws platform::OsError when they cannot be.
  EntryMap();

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

  // The entries in table order: bucket 0 to 16, each bucket newest first.
  std::vector<Entry> TableOrder() const;

  // Runs `step` while holding the table lock, so that the writing or reading
  // of a whole permission file is one step for every other user of the lock.
  template <class Step>
  void WhileTableLocked(Step&& step) const {
    platform::NamedLockHold hold(tableLock_);
    step();
  }

 private:
  using OwnedTexts = std::list<std::string>;
  struct Node {
    std::uint32_t key;
    OwnedTexts::iterator text;  // into ownedTexts_
  };

  bool AddKey(std::uint32_t key, std::string_view record);
  // Moves a new copy onto the owned list; its iterators stay valid.
  void Own(OwnedTexts& copy);
  Node* Find(std::uint32_t key);
  const Node* Find(std::uint32_t key) const;

  std::array<std::forward_list<Node>, kBucketCount> buckets_;
  OwnedTexts ownedTexts_;
  mutable platform::NamedLock tableLock_;
  mutable platform::NamedLock garbageLock_;
};

}  // namespace permlet
