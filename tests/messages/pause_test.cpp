#include "messages/pause.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace vocapost {
namespace {

TEST(PauseWithEventsTest, OneSecondWaitsALittleMoreThanTwo) {
  ManualClock clock;
  const double start = clock.Now();
  EXPECT_EQ(PauseWithEvents(clock, 1.0f), 0);
  EXPECT_GT(clock.Now() - start, 2.0);
  EXPECT_LT(clock.Now() - start, 2.1);
}

TEST(PauseWithEventsTest, ZeroWaitsALittleMoreThanOne) {
  ManualClock clock;
  const double start = clock.Now();
  PauseWithEvents(clock, 0.0f);
  EXPECT_GT(clock.Now() - start, 1.0);
  EXPECT_LT(clock.Now() - start, 1.1);
}

TEST(PauseWithEventsTest, EventsAreHandledDuringThePause) {
  ManualClock clock;
  int fired = 0;
  QTimer::singleShot(0, [&] { ++fired; });
  PauseWithEvents(clock, 0.0f);
  EXPECT_EQ(fired, 1);
}

TEST(PauseWithEventsTest, StopsAfterItsPassesWhenTimeStandsStill) {
  // A clock that never moves must not hang the program.
  class FrozenClock final : public Clock {
   public:
    double Now() override { return 0; }
    void RunEventsFor(double) override { ++runs; }
    int runs = 0;
  } clock;
  PauseWithEvents(clock, 1.0f);
  EXPECT_EQ(clock.runs, kMostPausePasses);
}

TEST(PauseWithEventsTest, RealClockPauseIsShortForNegativeSeconds) {
  SteadyClock clock;
  const double start = clock.Now();
  PauseWithEvents(clock, -0.9f);  // seconds + 1 = 0.1
  const double elapsed = clock.Now() - start;
  EXPECT_GT(elapsed, 0.1);
  EXPECT_LT(elapsed, 2.0);
}

}  // namespace
}  // namespace vocapost
