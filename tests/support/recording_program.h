#pragma once

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTest>
#include <filesystem>
#include <optional>
#include <vector>

namespace vocapost::testing {

// Sets environment variables for one test and puts the old values back.
class EnvironmentScope {
 public:
  ~EnvironmentScope() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        qputenv(it->first.constData(), *it->second);
      } else {
        qunsetenv(it->first.constData());
      }
    }
  }
  void Set(const char* name, const QByteArray& value) {
    Save(name);
    qputenv(name, value);
  }
  void Set(const char* name, const std::filesystem::path& value) {
    Set(name, QByteArray::fromStdString(value.string()));
  }
  void Unset(const char* name) {
    Save(name);
    qunsetenv(name);
  }

 private:
  void Save(const char* name) {
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name)
                                  ? std::optional(qgetenv(name))
                                  : std::nullopt);
  }
  std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

// An executable that writes its arguments, each ended by a zero byte, to
// `record` (complete or not at all) and ends.
inline void WriteRecordingProgram(const std::filesystem::path& program,
                                  const std::filesystem::path& record) {
  std::filesystem::create_directories(program.parent_path());
  QFile file(QString::fromStdString(program.string()));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    throw std::runtime_error("cannot write " + program.string());
  }
  const QByteArray out = QByteArray::fromStdString(record.string());
  file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '" +
             out + ".part' && /bin/mv '" + out + ".part' '" + out + "'\n");
  file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The arguments a recording program was started with, once it has run;
// nullopt when it did not run within the limit.
inline std::optional<QStringList> RecordedArguments(
    const std::filesystem::path& record, int limit_ms = 5000) {
  const QString name = QString::fromStdString(record.string());
  if (!QTest::qWaitFor([&] { return QFile::exists(name); }, limit_ms)) {
    return std::nullopt;
  }
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QStringList arguments;
  for (const QByteArray& word : file.readAll().split('\0')) {
    arguments << QString::fromUtf8(word);
  }
  arguments.removeLast();  // after the last zero byte
  return arguments;
}

}  // namespace vocapost::testing
