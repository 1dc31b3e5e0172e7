#include "platform/clock/clock.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace vocapost {
namespace {

TEST(WaitWithEventsTest, EndsWhenTheConditionHoldsOrJustAfterTheLimit) {
  ManualClock clock;
  double start = clock.Now();
  bool flag = false;
  QTimer::singleShot(0, [&] { flag = true; });
  EXPECT_TRUE(WaitWithEvents(clock, 10.0, [&] { return flag; }));
  EXPECT_LT(clock.Now() - start, 1.0);
  start = clock.Now();
  EXPECT_FALSE(WaitWithEvents(clock, 5.0, [] { return false; }));
  EXPECT_GT(clock.Now() - start, 5.0);
  EXPECT_LT(clock.Now() - start, 5.2);
}

}  // namespace
}  // namespace vocapost
