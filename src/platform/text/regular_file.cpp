#include "platform/text/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

namespace vocapost {
namespace {

// Closes the descriptor on every way out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

FileBytes ReadRegularFile(const QString& path, qint64 limit) {
  if (path.isEmpty()) return {};
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) {
    return {errno == ENOENT || errno == ENOTDIR ? FileRead::kMissing
                                                : FileRead::kFailed,
            {}};
  }
  // Devices are not even opened; the type is checked again on the open file
  // in case the name was replaced meanwhile. Non-blocking, so that a pipe
  // with no writer cannot hold the open.
  if (!S_ISREG(info.st_mode)) return {FileRead::kNotRegular, {}};
  const Descriptor fd(
      ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
  if (fd.get() < 0) {
    return {errno == ENOENT ? FileRead::kMissing : FileRead::kFailed, {}};
  }
  if (::fstat(fd.get(), &info) != 0) return {FileRead::kFailed, {}};
  if (!S_ISREG(info.st_mode)) return {FileRead::kNotRegular, {}};
  if (info.st_size > limit) return {FileRead::kTooLarge, {}};
  FileBytes file{FileRead::kRead, {}};
  // One byte more than the file's size shows whether it grew meanwhile.
  const qsizetype most = static_cast<qsizetype>(limit) + 1;
  file.bytes.resize(static_cast<qsizetype>(info.st_size) + 1);
  qsizetype filled = 0;
  for (;;) {
    if (filled == file.bytes.size()) {
      if (filled >= most) break;
      file.bytes.resize(std::min(most, filled * 2));
    }
    const ssize_t n = ::read(fd.get(), file.bytes.data() + filled,
                             static_cast<size_t>(file.bytes.size() - filled));
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return {FileRead::kFailed, {}};
    }
    filled += n;
  }
  if (filled > limit) return {FileRead::kTooLarge, {}};
  file.bytes.truncate(filled);
  return file;
}

}  // namespace vocapost
