#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

namespace vocapost::testing {

// Root reads and writes whatever the permissions say, so a test of a
// read-only folder or an unreadable file would prove nothing as root. For
// as long as this lives, this thread's file access is that of "nobody";
// for anyone else permissions already apply.
class UnprivilegedFiles {
 public:
  UnprivilegedFiles() {
    if (geteuid() != 0) return;
    // The group too: root's group would otherwise still match root's files.
    previous_gid_ = setfsgid(kNobody);
    previous_uid_ = setfsuid(kNobody);
    active_ = true;
  }
  ~UnprivilegedFiles() {
    if (!active_) return;
    setfsuid(static_cast<uid_t>(previous_uid_));
    setfsgid(static_cast<gid_t>(previous_gid_));
  }
  UnprivilegedFiles(const UnprivilegedFiles&) = delete;
  UnprivilegedFiles& operator=(const UnprivilegedFiles&) = delete;

 private:
  static constexpr uid_t kNobody = 65534;
  int previous_uid_ = 0, previous_gid_ = 0;
  bool active_ = false;
};

}  // namespace vocapost::testing
