// From process start to the Recorder window shown: a plain launch in a fresh
// program folder, offscreen, with the test devices and nothing to read.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

bool RecorderShown(const QString& log) {
  QFile file(log);
  return file.open(QIODevice::ReadOnly) &&
         file.readAll().contains("shown\tMKERForm1");
}

void BM_StartToRecorderShown(benchmark::State& state) {
  for (auto _ : state) {
    QTemporaryDir dir;
    const QString log = dir.filePath("windows.log");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VOCAPOST_HOME", dir.filePath("home"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("XDG_RUNTIME_DIR", dir.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VOCAPOST_WINDOW_LOG", log);
    env.insert("VOCAPOST_CAPTURE", "test-pattern");
    env.insert("VOCAPOST_AUDIO", "test-tone");
    env.insert("VOCAPOST_AUDIO_OUT", "discard");
    QProcess program;
    program.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    program.start(VOCAPOST_BINARY, {});
    while (!RecorderShown(log) && clock.elapsed() < 10000) QThread::usleep(500);
    state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
    program.kill();
    program.waitForFinished(5000);
    if (!RecorderShown(log)) {
      state.SkipWithError("the Recorder window was not shown");
      break;
    }
  }
}
BENCHMARK(BM_StartToRecorderShown)
    ->UseManualTime()
    ->Iterations(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace
