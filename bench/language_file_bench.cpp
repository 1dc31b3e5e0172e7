// Cost of one message lookup: a message opens, scans and closes the language
// file, so this grows with the file. Run: build/bin/vocapost_bench
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "messages/language_file.h"

namespace {

void BM_LookUpLastMessage(benchmark::State& state) {
  QTemporaryDir dir;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(dir.path());
  QFile file("VMESSAGE.DEU");
  if (!file.open(QIODevice::WriteOnly)) {
    state.SkipWithError("cannot write the language file");
    return;
  }
  const auto pairs = state.range(0);
  for (int64_t i = 0; i < pairs; ++i) {
    file.write(QString("English message number %1.\r\nÜbersetzung %1.\r\n")
                   .arg(i)
                   .toUtf8());
  }
  file.close();
  const QString last = QString("English message number %1.").arg(pairs - 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(vocapost::LookUpMessageText(last, ".DEU"));
  }
  state.SetItemsProcessed(state.iterations() * pairs * 2);
  QDir::setCurrent(previous);
}
BENCHMARK(BM_LookUpLastMessage)->Arg(10)->Arg(200)->Arg(2000);

}  // namespace
