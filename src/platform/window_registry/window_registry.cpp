#include "platform/window_registry/window_registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <atomic>
#include <string>
#include <system_error>

namespace vocapost {
namespace fs = std::filesystem;
namespace {

constexpr char kSuffix[] = ".windows";
// Titles longer than this are cut, as a window-title query with a fixed
// buffer would cut them.
constexpr qsizetype kLongestTitle = 249;

QByteArray ReadAll(int fd) {
  QByteArray bytes;
  char buffer[4096];
  for (off_t offset = 0;;) {
    const ssize_t got = pread(fd, buffer, sizeof buffer, offset);
    if (got <= 0) break;
    bytes.append(buffer, got);
    offset += got;
    if (bytes.size() > (1 << 20)) break;  // nobody publishes that many titles
  }
  return bytes;
}

// Titles of a living copy's file; nullopt when its copy has ended, whose
// file is then removed.
std::optional<QStringList> LiveTitles(const fs::path& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return std::nullopt;
  std::optional<QStringList> titles;
  if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
    titles = QString::fromUtf8(ReadAll(fd)).split('\n', Qt::SkipEmptyParts);
  } else if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
    unlink(file.c_str());  // a new copy that opened it notices and reopens
  }
  close(fd);
  return titles;
}

bool OursAlone(const struct stat& info) {
  return S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The folder must be ours alone: another user could otherwise plant copies
// that make every launch give way. So must its parent, unless that is a
// sticky one such as /tmp, where nobody can replace what is ours.
bool UsableDir(const fs::path& dir) {
  std::error_code ec;
  const fs::path parent = dir.parent_path();
  fs::create_directories(parent.parent_path(), ec);
  mkdir(parent.c_str(), 0700);
  mkdir(dir.c_str(), 0700);
  struct stat info {};
  struct stat above {};
  return lstat(dir.c_str(), &info) == 0 && OursAlone(info) &&
         stat(parent.c_str(), &above) == 0 &&
         (OursAlone(above) || (above.st_mode & S_ISVTX) != 0);
}

}  // namespace

fs::path DefaultRegistryDir() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) {
    return fs::path(runtime.toStdString()) / "vocapost";
  }
  return fs::temp_directory_path() / ("vocapost-" + std::to_string(getuid()));
}

fs::path HomeRegistryDir(const fs::path& base, const fs::path& home) {
  std::error_code ec;
  fs::path resolved = fs::weakly_canonical(fs::absolute(home, ec), ec);
  if (ec) resolved = home;
  // A digest keeps any path, however long or odd, a short plain name.
  const QByteArray digest = QCryptographicHash::hash(
      QByteArray::fromStdString(resolved.string()), QCryptographicHash::Sha1);
  return base / ("home-" + digest.toHex().left(20).toStdString());
}

WindowRegistry::WindowRegistry(fs::path dir) : dir_(std::move(dir)) {}

WindowRegistry::~WindowRegistry() {
  if (fd_ < 0) return;
  std::error_code ec;
  fs::remove(own_file_, ec);
  close(fd_);
}

bool WindowRegistry::Publish(const QStringList& titles) {
  own_titles_ = titles;
  if (fd_ < 0 && !OpenOwnFile()) return false;
  const QByteArray bytes = titles.join('\n').toUtf8() + '\n';
  return ftruncate(fd_, 0) == 0 &&
         pwrite(fd_, bytes.constData(), bytes.size(), 0) == bytes.size();
}

bool WindowRegistry::OpenOwnFile() {
  if (!UsableDir(dir_)) return false;
  // One file per registry object, so one process may stand for several
  // copies (as tests do).
  static std::atomic<int> next{0};
  own_file_ = dir_ / (std::to_string(getpid()) + "-" + std::to_string(next++) +
                      kSuffix);
  // A counting copy may remove a file it finds unlocked between our open and
  // our lock: then the name no longer leads to our file, and we start over.
  for (int attempt = 0; attempt < 5; ++attempt) {
    fd_ = open(own_file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
               0600);
    if (fd_ < 0) return false;
    struct stat held {
    }, named{};
    if (flock(fd_, LOCK_EX) == 0 && fstat(fd_, &held) == 0 &&
        stat(own_file_.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
        held.st_dev == named.st_dev) {
      return true;
    }
    close(fd_);
    fd_ = -1;
  }
  return false;
}

int WindowRegistry::CountWindowsTitled(const QString& title) const {
  int count = 0;
  auto count_in = [&](const QStringList& titles) {
    for (const QString& t : titles) count += t.left(kLongestTitle) == title;
  };
  if (fd_ < 0) count_in(own_titles_);  // not published: still this copy's
  if (!UsableDir(dir_)) return count;
  std::error_code ec;
  fs::directory_iterator it(dir_, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path file = it->path();
    if (file.extension() != kSuffix) continue;
    if (const std::optional<QStringList> titles = LiveTitles(file)) {
      count_in(*titles);
    }
  }
  return count;
}

}  // namespace vocapost
