// Help and About from the Recorder window.
#include <gtest/gtest.h>

#include <QFile>
#include <QScrollBar>

#include "messages/about_form.h"
#include "messages/help_viewer.h"
#include "player/viewer.h"
#include "recorder_ui/mker_form1.h"
#include "support/app_fixture.h"

namespace vocapost {
namespace {

using HelpTest = testing::AppTest;

TEST_F(HelpTest, HelpShowsTheHelpFileOrThatItIsMissingOrTheJapaneseReadMe) {
  ASSERT_EQ(Start(), StartResult::kRunning);
  MKERForm1& recorder = *app_->recorder();
  recorder.Command(16)->Press();
  HelpViewer* help = app_->help_viewer();
  ASSERT_TRUE(help && help->isVisible() && !help->found());
  EXPECT_TRUE(help->toPlainText().contains(
      "The help file VOCAPOST.HLP is not in " +
      QString::fromStdString(temp_.home().string())));

  QFile shipped(QString(VOCAPOST_SOURCE_DIR) + "/data/VOCAPOST.HLP");
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
  temp_.WriteFile("VOCAPOST.HLP", shipped.readAll());
  recorder.File3()->SetPattern("*.vrc");
  recorder.Command(16)->Press();
  EXPECT_EQ(recorder.File3()->pattern(), "*.goo") << "package list cleared";
  EXPECT_TRUE(app_->help_viewer() == help && help->found());
  EXPECT_TRUE(help->toPlainText().startsWith("Vocapost Help"));
  // A second press brings the window back to its contents.
  QCoreApplication::processEvents();
  help->scrollToAnchor("trouble");
  ASSERT_GT(help->verticalScrollBar()->value(), 0);
  recorder.Command(16)->Press();
  EXPECT_EQ(help->verticalScrollBar()->value(), 0);

  recorder.Command(17)->Press();
  ASSERT_TRUE(app_->about_form()->isVisible());
  EXPECT_EQ(app_->about_form()->Label1()->text(),
            "2.7." + QString::number(VOCAPOST_TEST_REVISION));
  app_->viewer()->Command6()->Press();
  EXPECT_TRUE(ender_.ended);
  EXPECT_EQ(app_->help_viewer(), nullptr);
  EXPECT_FALSE(help->isVisible());

  // A Japanese set-up opens the read-me in the text editor instead.
  temp_.WriteFile("VMESSAGE.JPN", "");
  app_ = MakeApp(wave_);
  ASSERT_EQ(Start(), StartResult::kRunning);
  starter_.result = false;
  app_->recorder()->Command(16)->Press();
  EXPECT_EQ(starter_.started,
            (std::vector<QStringList>{{"notepad.exe", "readme.vcp"}}));
  EXPECT_EQ(app_->help_viewer(), nullptr);
  EXPECT_TRUE(presenter_.messages.empty()) << "a failed start says nothing";
  EXPECT_EQ(app_->messages().error_form(), nullptr);
}

}  // namespace
}  // namespace vocapost
