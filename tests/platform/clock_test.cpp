#include "platform/clock/clock.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace vocapost {
namespace {

TEST(WaitWithEventsTest, EndsWhenConditionBecomesTrueThroughAnEvent) {
  ManualClock clock;
  bool flag = false;
  QTimer::singleShot(0, [&] { flag = true; });
  const double start = clock.Now();
  EXPECT_TRUE(WaitWithEvents(clock, 10.0, [&] { return flag; }));
  EXPECT_LT(clock.Now() - start, 1.0);
}

TEST(WaitWithEventsTest, GivesUpJustAfterTheLimit) {
  ManualClock clock;
  const double start = clock.Now();
  EXPECT_FALSE(WaitWithEvents(clock, 5.0, [] { return false; }));
  EXPECT_GT(clock.Now() - start, 5.0);
  EXPECT_LT(clock.Now() - start, 5.2);
}

TEST(WaitWithEventsTest, ChecksTheConditionBeforeWaiting) {
  ManualClock clock;
  const double start = clock.Now();
  EXPECT_TRUE(WaitWithEvents(clock, 5.0, [] { return true; }));
  EXPECT_EQ(clock.Now(), start);
}

TEST(SteadyClockTest, RunsTimersWhileWaitingAndMovesForward) {
  SteadyClock clock;
  int fired = 0;
  QTimer::singleShot(10, [&] { ++fired; });
  const double start = clock.Now();
  EXPECT_TRUE(WaitWithEvents(clock, 5.0, [&] { return fired == 1; }));
  const double elapsed = clock.Now() - start;
  EXPECT_GE(elapsed, 0.009);
  EXPECT_LT(elapsed, 4.0);
}

}  // namespace
}  // namespace vocapost
