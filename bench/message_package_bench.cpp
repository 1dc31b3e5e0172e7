// Packages and scans of a message at the file-writing size limit
// (2,000,000 bytes): what the Recorder waits for when it builds a package,
// what a recipient's start-up waits for, and one pass of the reader.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "message/message_package.h"
#include "message/message_reader.h"
#include "message/message_writer.h"

namespace {

class QuietUi final : public vocapost::PackageUi {
 public:
  void ShowPackageMessage(const QString&) override {}
  void ShowPackage(const QString&) override {}
};

// A temporary program folder holding a stub and a 2,000,000-byte message of
// audio records with a frame after every second one.
class Folder {
 public:
  Folder() : previous_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
    QFile stub("vocap.exe");
    ok_ = stub.open(QIODevice::WriteOnly) &&
          stub.write(QByteArray(14336, '#')) == 14336;
    stub.close();
    vocapost::MessageWriter writer;
    ok_ = ok_ && writer.BeginFile("05143012.vrc");
    for (int i = 0; ok_ && writer.recorded_size() < 2000000; ++i) {
      ok_ = writer.AppendAudio(QByteArray(1105, static_cast<char>(i)));
      if (i % 2 == 0) ok_ = ok_ && writer.AppendVideo(QByteArray(2352, 'f'));
    }
    ok_ = ok_ && writer.Finish();
  }
  ~Folder() { QDir::setCurrent(previous_); }
  bool ok() const { return ok_; }

 private:
  QTemporaryDir dir_;
  QString previous_;
  bool ok_ = false;
};

void BM_BuildPackage(benchmark::State& state) {
  Folder folder;
  QuietUi ui;
  for (auto _ : state) {
    if (!folder.ok() ||
        vocapost::BuildMessagePackage("05143012.vrc", ui) == 0) {
      state.SkipWithError("could not build the package");
      break;
    }
  }
}
BENCHMARK(BM_BuildPackage)->Unit(benchmark::kMillisecond);

void BM_ExtractPackage(benchmark::State& state) {
  Folder folder;
  QuietUi ui;
  if (!folder.ok() || vocapost::BuildMessagePackage("05143012.vrc", ui) == 0) {
    state.SkipWithError("could not build the package");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        vocapost::ExtractEmbeddedMessage("voca-MSG05143012.exe"));
  }
}
BENCHMARK(BM_ExtractPackage)->Unit(benchmark::kMillisecond);

void BM_ScanMessage(benchmark::State& state) {
  Folder folder;
  int64_t records = 0;
  for (auto _ : state) {
    vocapost::MessageReader reader;
    reader.Open("05143012.vrc");
    while (auto record = reader.Next()) {
      benchmark::DoNotOptimize(record->payload.data());
      ++records;
    }
  }
  state.SetItemsProcessed(records);
}
BENCHMARK(BM_ScanMessage)->Unit(benchmark::kMillisecond);

}  // namespace
