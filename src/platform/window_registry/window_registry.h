#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>

namespace vocapost {

// Which top-level windows the running copies of the program have. Each copy
// publishes its window titles in a file of its own, locked for as long as
// the process lives; a file whose lock is free belongs to a copy that has
// ended (even by a crash) and does not count.
class WindowRegistry {
 public:
  explicit WindowRegistry(std::filesystem::path dir);
  ~WindowRegistry();
  WindowRegistry(const WindowRegistry&) = delete;
  WindowRegistry& operator=(const WindowRegistry&) = delete;

  // Replaces this copy's published titles. False when the registry folder
  // cannot be used; the copy then counts only itself.
  bool Publish(const QStringList& titles);

  // Windows of all living copies, this one included, titled exactly `title`.
  int CountWindowsTitled(const QString& title) const;

  const std::filesystem::path& dir() const { return dir_; }

 private:
  bool OpenOwnFile();

  std::filesystem::path dir_;
  std::filesystem::path own_file_;
  int fd_ = -1;
  QStringList own_titles_;
};

// "$XDG_RUNTIME_DIR/vocapost", or a per-user folder under the temporary
// folder when there is no runtime folder.
std::filesystem::path DefaultRegistryDir();

// The folder under `base` for the copies whose program home is `home`
// (spelt any way that leads to the same folder). Copies of other homes read
// other marker files, so they must not count as running copies.
std::filesystem::path HomeRegistryDir(const std::filesystem::path& base,
                                      const std::filesystem::path& home);

}  // namespace vocapost
