#include "app/application.h"

#include <gtest/gtest.h>

#include "app/display_check.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

using ApplicationTest = testing::AppTest;

TEST_F(ApplicationTest, SettingsComeFromTheStore) {
  ASSERT_TRUE(settings_.Set(kSettingsApplication, kSettingsSection,
                            "RecordToMemory", "1"));
  ASSERT_TRUE(settings_.Set(kSettingsApplication, kSettingsSection,
                            "UseEmailClient", "Thunderbird"));
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->state().maximum_message_size, 1048576);
  EXPECT_EQ(app_->state().settings.use_email_client, "Thunderbird");
  EXPECT_EQ(temp_.ReadFile("firsview.bmp"), "picture");
}

TEST_F(ApplicationTest,
       TooFewColoursShowTheDisplayMessageAndEndBeforeAnyMarker) {
  FixedDisplayInfo eight_bits({8, 1});
  Application app({settings_, clock_, eight_bits, presenter_, registry_, ender_,
                   wave_, registry_store_, camera_, free_space_, wall_clock_, nullptr});
  temp_.WriteFile("popplay.txt", "popplay");
  temp_.WriteFile("pop.txt", "pop");
  ASSERT_EQ(app.Start({temp_.home(), temp_.root() / "shipped", {}}),
            StartResult::kEnded);
  EXPECT_EQ(app.exit_code(), 1);
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_EQ(presenter_.messages[0].title, "Vocapost Message");
  EXPECT_EQ(presenter_.messages[0].text, DisplayMessageText(SystemDirectory()));
  EXPECT_EQ(presenter_.messages[0].style, 0);
  EXPECT_EQ(app.state().messages.viewer_message_title, "Vocapost Message");
  EXPECT_TRUE(Exists("popplay.txt"));
  EXPECT_TRUE(Exists("pop.txt"));
  EXPECT_EQ(app.recorder(), nullptr);
  EXPECT_FALSE(ender_.ended) << "ending at once runs no unload";
}

TEST_F(ApplicationTest, DisplayMessageIsShownInTheChosenLanguage) {
  temp_.WriteFile("VMESSAGE.DEU",
                  DisplayMessageText(SystemDirectory()).toUtf8() +
                      "\r\nBitte mehr Farben einstellen.\r\n");
  FixedDisplayInfo eight_bits({8, 1});
  Application app({settings_, clock_, eight_bits, presenter_, registry_, ender_,
                   wave_, registry_store_, camera_, free_space_, wall_clock_, nullptr});
  ASSERT_EQ(app.Start({temp_.home(), temp_.root() / "shipped", {}}),
            StartResult::kEnded);
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_EQ(presenter_.messages[0].text, "Bitte mehr Farben einstellen.");
}

TEST_F(ApplicationTest, UnusableHomeIsReportedAndEnds) {
  temp_.WriteFile("not-a-folder", "x");
  EXPECT_EQ(app_->Start(
                {temp_.home() / "not-a-folder", temp_.root() / "shipped", {}}),
            StartResult::kEnded);
  EXPECT_EQ(app_->exit_code(), 1);
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_TRUE(presenter_.messages[0].text.contains("not-a-folder"));
}

TEST_F(ApplicationTest, CopyCountsFromTheMomentItsViewerExists) {
  EXPECT_EQ(app_->CountRunningCopies(), 0);
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_->CountRunningCopies(), 1);
  WindowRegistry other(registry_dir());
  other.Publish({"Vocapost "});
  EXPECT_EQ(app_->CountRunningCopies(), 2);
}

}  // namespace
}  // namespace vocapost
