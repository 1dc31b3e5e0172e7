#pragma once

#include <functional>

namespace vocapost {

// Monotonic time for every elapsed-time measurement, so waits survive
// midnight and clock changes. Tests inject a manual clock to run long waits
// in no time.
class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds on a monotonic scale; only differences are meaningful.
  virtual double Now() = 0;
  // Runs the event loop for about `seconds` without spinning a core.
  virtual void RunEventsFor(double seconds) = 0;
};

class SteadyClock final : public Clock {
 public:
  SteadyClock();
  double Now() override;
  void RunEventsFor(double seconds) override;

 private:
  long long origin_ns_;
};

// Time moves only when the program waits (or a test advances it); each wait
// still processes the pending events once.
class ManualClock final : public Clock {
 public:
  double Now() override { return now_; }
  void RunEventsFor(double seconds) override;
  void Advance(double seconds) { now_ += seconds; }

 private:
  double now_ = 1000.0;
};

// Runs the event loop until `done` returns true or more than `limit_seconds`
// have passed. Returns the last answer of `done`.
bool WaitWithEvents(Clock& clock, double limit_seconds,
                    const std::function<bool()>& done);

}  // namespace vocapost
