#include "messages/pause.h"

#include <gtest/gtest.h>

#include <QTimer>

namespace vocapost {
namespace {

TEST(PauseWithEventsTest, WaitsALittleMoreThanOneSecondLongerHandlingEvents) {
  for (const auto& [seconds, waited] :
       {std::pair{1.0f, 2.0}, {0.0f, 1.0}, {-0.9f, 0.1}}) {
    SCOPED_TRACE(seconds);
    ManualClock clock;
    int fired = 0;
    QTimer::singleShot(0, [&] { ++fired; });
    const double start = clock.Now();
    EXPECT_EQ(PauseWithEvents(clock, seconds), 0);
    EXPECT_GT(clock.Now() - start, waited);
    EXPECT_LT(clock.Now() - start, waited + 0.1);
    EXPECT_EQ(fired, 1);
  }
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

}  // namespace
}  // namespace vocapost
