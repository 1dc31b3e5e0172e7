#include "app/application.h"

#include <gtest/gtest.h>

#include "app/display_check.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

using ApplicationTest = testing::AppTest;

// Too few colours: the message and an end before any marker is touched.
TEST_F(ApplicationTest, TooFewColoursShowTheDisplayMessageAndEnd) {
  temp_.WriteFile("popplay.txt", "popplay");
  FixedDisplayInfo eight_bits({8, 1});
  Application app({settings_, clock_, eight_bits, presenter_, registry_, ender_,
                   wave_, registry_store_, camera_, free_space_, wall_clock_,
                   nullptr});
  ASSERT_EQ(app.Start({temp_.home(), temp_.root() / "shipped", {}}),
            StartResult::kEnded);
  EXPECT_EQ(app.exit_code(), 1);
  EXPECT_EQ(Texts(),
            std::vector<QString>{"Vocapost Message\t" +
                                 DisplayMessageText(SystemDirectory())});
  EXPECT_TRUE(Exists("popplay.txt"));
  EXPECT_EQ(app.recorder(), nullptr);
  EXPECT_FALSE(ender_.ended) << "ending at once runs no unload";
}

}  // namespace
}  // namespace vocapost
