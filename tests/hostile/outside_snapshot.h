// Proof that a run touched nothing outside the release: every entry of the
// surrounding tree, recorded before and compared after.
#pragma once

#include <map>
#include <string>

namespace hostile {

class OutsideSnapshot {
 public:
  // Records every entry below `root` except `release` and what lies below
  // it (an empty `release` excludes nothing): its kind, size, content,
  // time of last change and, for a link, where it points.
  OutsideSnapshot(std::string root, std::string release);

  // Fails the test for every entry that was made, changed or removed since.
  void ExpectUnchanged() const;

 private:
  std::map<std::string, std::string> Take() const;

  std::string root_;
  std::string release_;
  std::map<std::string, std::string> before_;
};

}  // namespace hostile
