#include "app/application.h"

#include <gtest/gtest.h>

#include "app/display_check.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

class ApplicationTest : public testing::HomeTest {
 protected:
  ApplicationTest() {
    temp_.WriteFile(temp_.root() / "shipped" / "firsview.bmp", "picture");
  }
  StartResult Start(const QString& command_line = {}) {
    return app_.Start({temp_.home(), temp_.root() / "shipped", command_line});
  }

  IniSettingsStore settings_{QString::fromStdString(temp_.config().string())};
  ManualClock clock_;
  FixedDisplayInfo display_{{32, 1}};
  RecordingPresenter presenter_;
  Application app_{{settings_, clock_, display_, presenter_, nullptr}};
};

TEST_F(ApplicationTest, PlainStartReadsDefaultsAndShowsTheStartUpPicture) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_TRUE(presenter_.messages.empty());
  EXPECT_EQ(app_.state().maximum_message_size, 2000000);
  EXPECT_EQ(app_.state().settings.audio_block_size, 1105);
  EXPECT_EQ(app_.state().messages.language_extension, ".ENG");
  EXPECT_EQ(app_.state().messages.viewer_message_title, "Vocapost Message");
  EXPECT_EQ(temp_.ReadFile("firsview.bmp"), "picture");
  ASSERT_NE(app_.message_form(), nullptr);
  EXPECT_TRUE(app_.message_form()->isVisible());
}

TEST_F(ApplicationTest, StartWithACommandLineKeepsThePictureHidden) {
  ASSERT_EQ(Start("message.vrc"), StartResult::kRunning);
  ASSERT_NE(app_.message_form(), nullptr);
  EXPECT_FALSE(app_.message_form()->isVisible());
}

TEST_F(ApplicationTest, SettingsComeFromTheStore) {
  ASSERT_TRUE(settings_.Set(kSettingsApplication, kSettingsSection,
                            "RecordToMemory", "1"));
  ASSERT_TRUE(settings_.Set(kSettingsApplication, kSettingsSection,
                            "UseEmailClient", "Thunderbird"));
  ASSERT_EQ(Start(), StartResult::kRunning);
  EXPECT_EQ(app_.state().maximum_message_size, 1048576);
  EXPECT_EQ(app_.state().settings.use_email_client, "Thunderbird");
}

TEST_F(ApplicationTest, TooFewColoursShowTheDisplayMessageAndEnd) {
  FixedDisplayInfo eight_bits({8, 1});
  Application app({settings_, clock_, eight_bits, presenter_, nullptr});
  ASSERT_EQ(app.Start({temp_.home(), temp_.root() / "shipped", {}}),
            StartResult::kEnded);
  EXPECT_NE(app.exit_code(), 0);
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_EQ(presenter_.messages[0].title, "Vocapost Message");
  EXPECT_EQ(presenter_.messages[0].text, DisplayMessageText(SystemDirectory()));
  EXPECT_EQ(presenter_.messages[0].style, 0);
  EXPECT_EQ(app.state().messages.viewer_message_title, "Vocapost Message");
  EXPECT_EQ(app.message_form(), nullptr);
}

TEST_F(ApplicationTest, DisplayMessageIsShownInTheChosenLanguage) {
  temp_.WriteFile("VMESSAGE.DEU",
                  DisplayMessageText(SystemDirectory()).toUtf8() +
                      "\r\nBitte mehr Farben einstellen.\r\n");
  FixedDisplayInfo eight_bits({8, 1});
  Application app({settings_, clock_, eight_bits, presenter_, nullptr});
  ASSERT_EQ(app.Start({temp_.home(), temp_.root() / "shipped", {}}),
            StartResult::kEnded);
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_EQ(presenter_.messages[0].text, "Bitte mehr Farben einstellen.");
}

TEST_F(ApplicationTest, UnusableHomeIsReportedAndEnds) {
  temp_.WriteFile("not-a-folder", "x");
  EXPECT_EQ(
      app_.Start({temp_.home() / "not-a-folder", temp_.root() / "shipped", {}}),
      StartResult::kEnded);
  EXPECT_NE(app_.exit_code(), 0);
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_TRUE(presenter_.messages[0].text.contains("not-a-folder"));
}

}  // namespace
}  // namespace vocapost
