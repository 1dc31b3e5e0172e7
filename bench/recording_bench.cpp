// A recording at 240 × 180, high quality, 30000 bytes a second, on the test
// devices in real time: CPU time per second of recording, the largest delay
// between two 50 ms ticks, and the data rate reached against the budget.
// VOCAPOST_BENCH_SECONDS sets the length (default 60).
#include <QApplication>
#include <cstdio>

#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "test_device_program.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  const double seconds =
      qEnvironmentVariableIntValue("VOCAPOST_BENCH_SECONDS") > 0
          ? qEnvironmentVariableIntValue("VOCAPOST_BENCH_SECONDS")
          : 60;
  using namespace vocapost;
  bench::TestDeviceProgram program;
  if (!program.Start()) return 1;
  Application& app = program.app;
  SteadyClock& clock = program.clock;
  app.recorder()->Command(10)->Press();  // 240 × 180

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
  const double cpu_before = bench::CpuSeconds();
  clock.RunEventsFor(seconds);
  const double cpu = bench::CpuSeconds() - cpu_before;
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
