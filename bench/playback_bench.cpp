// Playback of a recording made at 240 × 180 on the test devices, at the
// budgets "2000" and "30000": CPU per second of playback, and for each
// frame the time from its drawing to the moment the sound stored just
// before it starts to be heard. VOCAPOST_BENCH_SECONDS sets the length
// of each recording (default 60); budgets may be given as arguments.
#include <QApplication>
#include <algorithm>
#include <cstdio>

#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "test_device_program.h"

namespace {

using namespace vocapost;

void RunAtBudget(const QString& budget, double seconds) {
  bench::TestDeviceProgram program;
  if (!program.Start()) return;
  Application& app = program.app;
  SteadyClock& clock = program.clock;
  MKERForm1& recorder = *app.recorder();
  recorder.Command(10)->Press();  // 240 × 180
  recorder.Combo1()->setCurrentText(budget);
  recorder.Command(2)->Press();
  clock.RunEventsFor(seconds);
  recorder.Command(14)->Press();

  // Sound heard: blocks play in turn, each from when it was handed over or
  // when the one before it finished, whichever is later.
  std::vector<double> queued, done;
  WindowProcedure engine = app.message_form()->InstallProcedure(nullptr);
  app.message_form()->InstallProcedure(
      [&](uint32_t m, uintptr_t w, intptr_t l) {
        if (m == kPlayedBlockMessage) done.push_back(clock.Now());
        return engine(m, w, l);
      });
  Viewer& viewer = *app.viewer();
  std::vector<std::pair<double, int>>
      frames;  // draw time, audio block before it
  int blocks = 0;
  viewer.player_tick = [&] {
    const int before = app.state().audio.queued_play_buffers;
    const qint64 picture = viewer.Picture2()->pixmap().cacheKey();
    app.player().PlayerTick();
    const double now = clock.Now();
    if (app.state().audio.queued_play_buffers > before) {
      queued.push_back(now);
      ++blocks;
    }
    if (viewer.Picture2()->pixmap().cacheKey() != picture)
      frames.emplace_back(now, blocks - 1);
  };
  const double cpu_before = bench::CpuSeconds(), started = clock.Now();
  recorder.Command(4)->Press();
  while (app.state().activity.is_playing == 1) clock.RunEventsFor(0.05);
  const double played = clock.Now() - started,
               cpu = bench::CpuSeconds() - cpu_before;
  std::vector<double> starts;
  for (size_t k = 0; k < queued.size(); ++k) {
    starts.push_back(k == 0 || k - 1 >= done.size()
                         ? queued[k]
                         : std::max(queued[k], done[k - 1]));
  }
  double total = 0, largest = 0;
  int counted = 0;
  for (const auto& [drawn, block] : frames) {
    if (block < 0 || block >= static_cast<int>(starts.size())) continue;
    const double delay = starts[static_cast<size_t>(block)] - drawn;
    total += delay;
    largest = std::max(largest, std::abs(delay));
    ++counted;
  }
  std::printf(
      "budget %-6s played %.1f s, cpu %.2f%% of one core, %d frames, sound "
      "after "
      "picture: mean %.0f ms, largest %.0f ms\n",
      qPrintable(budget), played, 100 * cpu / played, counted,
      counted ? 1000 * total / counted : 0.0, 1000 * largest);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt(argc, argv);
  const int seconds = qEnvironmentVariableIntValue("VOCAPOST_BENCH_SECONDS");
  // Budgets from the command line, else the lowest and the highest.
  QStringList budgets = QApplication::arguments().mid(1);
  if (budgets.isEmpty()) budgets = {"2000", "30000"};
  for (const QString& budget : budgets)
    RunAtBudget(budget, seconds > 0 ? seconds : 60);
  return 0;
}
