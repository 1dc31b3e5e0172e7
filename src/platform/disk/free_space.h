#pragma once

#include <QDateTime>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace vocapost {

// Free bytes on the disk that holds a folder, in 64-bit arithmetic.
class FreeSpace {
 public:
  virtual ~FreeSpace() = default;
  virtual uint64_t Available(const std::filesystem::path& folder) = 0;
};

class DiskFreeSpace final : public FreeSpace {
 public:
  uint64_t Available(const std::filesystem::path& folder) override {
    std::error_code ec;
    const std::filesystem::space_info info = std::filesystem::space(folder, ec);
    return ec ? 0 : info.available;
  }
};

class FixedFreeSpace final : public FreeSpace {
 public:
  explicit FixedFreeSpace(uint64_t bytes) : bytes_(bytes) {}
  uint64_t Available(const std::filesystem::path&) override { return bytes_; }
  void Set(uint64_t bytes) { bytes_ = bytes; }

 private:
  uint64_t bytes_;
};

// The time of day, for naming recordings; tests fix it.
class WallClock {
 public:
  virtual ~WallClock() = default;
  virtual QDateTime LocalNow() = 0;
};

class SystemWallClock final : public WallClock {
 public:
  QDateTime LocalNow() override { return QDateTime::currentDateTime(); }
};

class FixedWallClock final : public WallClock {
 public:
  explicit FixedWallClock(QDateTime now) : now_(std::move(now)) {}
  QDateTime LocalNow() override { return now_; }
  void Set(QDateTime now) { now_ = std::move(now); }

 private:
  QDateTime now_;
};

}  // namespace vocapost
