// A recording at 240 × 180, high quality, 30000 bytes a second, on the test
// devices in real time: CPU time per second of recording, the largest delay
// between two 50 ms ticks, and the data rate reached against the budget.
// VOCAPOST_BENCH_SECONDS sets the length (default 60).
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "app/application.h"
#include "platform/capture/test_pattern_driver.h"
#include "platform/wave/device_wave_library.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) *
             1e-6;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  const double seconds =
      qEnvironmentVariableIntValue("VOCAPOST_BENCH_SECONDS") > 0
          ? qEnvironmentVariableIntValue("VOCAPOST_BENCH_SECONDS")
          : 60;
  QTemporaryDir dir;
  using namespace vocapost;
  IniSettingsStore settings(dir.filePath("config"));
  SteadyClock clock;
  FixedDisplayInfo display({32, 1});
  RecordingPresenter presenter;
  WindowRegistry registry((dir.path() + "/registry").toStdString());
  RecordingEnd ender;
  DeviceWaveLibrary wave(MakeToneInput(), MakeDiscardOutput());
  IniRegistryStore registry_store(dir.filePath("config"));
  TestPatternDriver camera;
  DiskFreeSpace free_space;
  SystemWallClock wall_clock;
  Application app({settings, clock, display, presenter, registry, ender, wave,
                   registry_store, camera, free_space, wall_clock, nullptr});
  if (app.Start({(dir.path() + "/home").toStdString(), {}, {}}) !=
      StartResult::kRunning)
    return 1;

  // 240 × 180 capture, as the size buttons set it.
  app.state().video.capture_width = app.state().values.display_width = 240;
  app.state().video.capture_height = app.state().values.display_height = 180;
  app.video().SetCaptureFormat();
  app.video().CloseCodec();
  app.video().OpenCodec();

  Viewer& viewer = *app.viewer();
  double last_tick = -1, worst_gap = 0;
  viewer.recording_tick = [&](int16_t& busy) {
    const double now = clock.Now();
    if (last_tick >= 0) worst_gap = std::max(worst_gap, now - last_tick);
    last_tick = now;
    app.recording().RecordingTick(busy);
  };
  MKERForm1& recorder = *app.recorder();
  recorder.Command(2)->Press();
  const double cpu_before = CpuSeconds();
  clock.RunEventsFor(seconds);
  const double cpu = CpuSeconds() - cpu_before;
  const int32_t size = app.state().values.recorded_size;
  recorder.Command(14)->Press();
  std::printf(
      "recording          %.0f s at 240x180, ratio 25, budget 30000 B/s\n",
      seconds);
  std::printf("cpu per second     %.2f%% of one core\n", 100 * cpu / seconds);
  std::printf("largest tick gap   %.1f ms (ticks every 50 ms)\n",
              worst_gap * 1000);
  std::printf("bytes per second   %.0f (budget 30000)\n", size / seconds);
  return 0;
}
