#include "permlet/aclfile/entry_map.h"

#include "permlet/aclfile/name_key.h"
#include "permlet/aclfile/record_numbers.h"

namespace permlet {

namespace {
std::size_t BucketOf(std::uint32_t key) { return (key >> 4) % EntryMap::kBucketCount; }
}  // namespace

EntryMap::EntryMap() : tableLock_("lockaamap"), garbageLock_("lockgarbage") {}

bool EntryMap::Add(std::string_view name, std::string_view record) {
  return AddKey(NameKey(name), record);
}

bool EntryMap::AddByKey(std::string_view keyText, std::string_view record) {
  return AddKey(ParseKeyText(keyText), record);
}

bool EntryMap::AddKey(std::uint32_t key, std::string_view record) {
  OwnedTexts copy{std::string(record)};
  {
    platform::NamedLockHold hold(tableLock_);
    if (Find(key) != nullptr) return false;
    buckets_[BucketOf(key)].push_front({key, copy.begin()});
  }
  Own(copy);
  return true;
}

std::optional<std::string> EntryMap::Lookup(std::string_view name) const {
  const std::uint32_t key = NameKey(name);
  platform::NamedLockHold hold(tableLock_);
  const Node* node = Find(key);
  if (node == nullptr) return std::nullopt;
  return *node->text;
}

bool EntryMap::Replace(std::string_view name, std::string_view record) {
  const std::uint32_t key = NameKey(name);
  OwnedTexts copy{std::string(record)};
  {
    platform::NamedLockHold hold(tableLock_);
    Node* node = Find(key);
    if (node == nullptr) return false;
    {
      platform::NamedLockHold garbage(garbageLock_);
      ownedTexts_.erase(node->text);
    }
    node->text = copy.begin();
  }
  Own(copy);
  return true;
}

void EntryMap::RemoveAll() {
  platform::NamedLockHold hold(tableLock_);
  platform::NamedLockHold garbage(garbageLock_);
  ownedTexts_.clear();
  for (auto& bucket : buckets_) bucket.clear();
}

void EntryMap::Own(OwnedTexts& copy) {
  try {
    platform::NamedLockHold garbage(garbageLock_);
    ownedTexts_.splice(ownedTexts_.end(), copy);
  } catch (const platform::OsError&) {
    // The table already points at the copy: it joins the list all the same.
    ownedTexts_.splice(ownedTexts_.end(), copy);
    throw;
  }
}

EntryMap::Node* EntryMap::Find(std::uint32_t key) {
  for (Node& node : buckets_[BucketOf(key)]) {
    if (node.key == key) return &node;
  }
  return nullptr;
}

const EntryMap::Node* EntryMap::Find(std::uint32_t key) const {
  return const_cast<EntryMap*>(this)->Find(key);
}

std::vector<EntryMap::Entry> EntryMap::TableOrder() const {
  std::vector<Entry> entries;
  for (const auto& bucket : buckets_) {
    for (const Node& node : bucket) entries.push_back({node.key, *node.text});
  }
  return entries;
}

}  // namespace permlet
