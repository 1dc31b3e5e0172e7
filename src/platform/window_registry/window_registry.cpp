#include "platform/window_registry/window_registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

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

// Titles of a living copy's file; nullopt when its copy has ended.
std::optional<QStringList> LiveTitles(const fs::path& file) {
  const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return std::nullopt;
  std::optional<QStringList> titles;
  if (flock(fd, LOCK_SH | LOCK_NB) != 0) {
    titles = QString::fromUtf8(ReadAll(fd)).split('\n', Qt::SkipEmptyParts);
  } else {
    flock(fd, LOCK_UN);
  }
  close(fd);
  return titles;
}

}  // namespace

fs::path DefaultRegistryDir() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) {
    return fs::path(runtime.toStdString()) / "vocapost";
  }
  return fs::temp_directory_path() / ("vocapost-" + std::to_string(getuid()));
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
  if (fd_ < 0) {
    std::error_code ec;
    fs::create_directories(dir_, ec);
    fs::permissions(dir_, fs::perms::owner_all, ec);
    // One file per registry object, so one process may stand for several
    // copies (as tests do).
    static std::atomic<int> next{0};
    own_file_ = dir_ / (std::to_string(getpid()) + "-" +
                        std::to_string(next++) + kSuffix);
    fd_ = open(own_file_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
               0600);
    if (fd_ < 0) return false;
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
      close(fd_);
      fd_ = -1;
      return false;
    }
  }
  const QByteArray bytes = titles.join('\n').toUtf8() + '\n';
  return ftruncate(fd_, 0) == 0 &&
         pwrite(fd_, bytes.constData(), bytes.size(), 0) == bytes.size();
}

int WindowRegistry::CountWindowsTitled(const QString& title) const {
  int count = 0;
  auto count_in = [&](const QStringList& titles) {
    for (const QString& t : titles) count += t.left(kLongestTitle) == title;
  };
  if (fd_ < 0) count_in(own_titles_);  // not published: still this copy's
  std::error_code ec;
  fs::directory_iterator it(dir_, ec);
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path file = it->path();
    if (file.extension() != kSuffix) continue;
    // A file whose copy has ended is left alone: removing it could race
    // with a new copy that has created it and not locked it yet.
    if (const std::optional<QStringList> titles = LiveTitles(file)) {
      count_in(*titles);
    }
  }
  return count;
}

}  // namespace vocapost
