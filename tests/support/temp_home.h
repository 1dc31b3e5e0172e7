#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace vocapost::testing {

// A fresh program home and config folder for one test: the environment
// points at them and the home is the current directory until the end.
class TempHome {
 public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  std::filesystem::path root() const;
  std::filesystem::path home() const;
  std::filesystem::path config() const;
  void WriteFile(const std::filesystem::path& name,
                 const QByteArray& bytes) const;
  QByteArray ReadFile(const std::filesystem::path& name) const;

 private:
  QTemporaryDir dir_;
  std::filesystem::path previous_cwd_;
};

class HomeTest : public ::testing::Test {
 protected:
  TempHome temp_;
};

}  // namespace vocapost::testing
