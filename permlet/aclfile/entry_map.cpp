#include "permlet/aclfile/entry_map.h"

#include "permlet/aclfile/name_key.h"
#include "permlet/aclfile/record_numbers.h"

namespace permlet {

bool EntryMap::Add(std::string_view name, std::string_view record) {
  return AddKey(NameKey(name), record);
}

bool EntryMap::AddByKey(std::string_view keyText, std::string_view record) {
  return AddKey(ParseKeyText(keyText), record);
}

bool EntryMap::AddKey(std::uint32_t key, std::string_view record) {
  if (index_.contains(key)) return false;
  Chain& chain = chains_[(key >> 4) % kBucketCount];
  const auto at = turned_ ? chain.end() : chain.begin();
  index_.emplace(key, chain.insert(at, Entry{key, std::string(record)}));
  return true;
}

std::optional<std::string> EntryMap::Lookup(std::string_view name) const {
  const auto found = index_.find(NameKey(name));
  if (found == index_.end()) return std::nullopt;
  return found->second->record;
}

bool EntryMap::Replace(std::string_view name, std::string_view record) {
  const auto found = index_.find(NameKey(name));
  if (found == index_.end()) return false;
  found->second->record = record;
  return true;
}

void EntryMap::RemoveAll() {
  index_.clear();
  for (Chain& chain : chains_) chain.clear();
  turned_ = false;
}

}  // namespace permlet
