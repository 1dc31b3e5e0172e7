#include "platform/clock/clock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace vocapost {
namespace {

long long SteadyNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// Granularity of event-loop waits: short enough for a responsive UI, long
// enough that a wait costs nothing while idle.
constexpr double kWaitSliceSeconds = 0.05;

}  // namespace

SteadyClock::SteadyClock() : origin_ns_(SteadyNanoseconds()) {}

double SteadyClock::Now() {
  return static_cast<double>(SteadyNanoseconds() - origin_ns_) * 1e-9;
}

void SteadyClock::RunEventsFor(double seconds) {
  const int ms = std::isfinite(seconds)
                     ? static_cast<int>(std::clamp(seconds, 0.0, 3600.0) * 1000)
                     : 0;
  if (ms <= 0) {
    QCoreApplication::processEvents();
    return;
  }
  QEventLoop loop;
  QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  // Once the application is quitting a new loop returns at once; sleep
  // instead, so that a wait during shutdown does not spin.
  if (loop.exec() != 0)
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void ManualClock::RunEventsFor(double seconds) {
  QCoreApplication::processEvents();
  if (std::isfinite(seconds) && seconds > 0) now_ += seconds;
}

bool WaitWithEvents(Clock& clock, double limit_seconds,
                    const std::function<bool()>& done) {
  const double start = clock.Now();
  while (!done()) {
    const double elapsed = clock.Now() - start;
    if (!(elapsed <= limit_seconds)) return false;
    clock.RunEventsFor(std::min(
        kWaitSliceSeconds, std::max(0.001, limit_seconds - elapsed + 0.001)));
  }
  return true;
}

}  // namespace vocapost
