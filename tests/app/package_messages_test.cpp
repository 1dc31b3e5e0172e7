#include "app/package_messages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "app/launch_selection.h"
#include "messages/form_messages.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

class ListedPackages final : public PackageMessages {
 public:
  using PackageMessages::PackageMessages;
  void ShowPackage(const QString& name) override { shown.push_back(name); }
  std::vector<QString> shown;
};

class PackageMessagesTest : public testing::HomeTest {
 protected:
  ~PackageMessagesTest() override {
    messages_.UnloadErrorForm();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QString extension_ = ".ENG";
  QString message_title_;
  ManualClock clock_;
  RecordingPresenter presenter_;
  FormMessages messages_{extension_, presenter_, nullptr, clock_};
  ListedPackages ui_{messages_, message_title_};
};

TEST_F(PackageMessagesTest,
       RefusalIsShownInTheMessageWindowWithTheMessageTitle) {
  EXPECT_EQ(BuildMessagePackage("absent.vrc", ui_), 0);
  EXPECT_EQ(message_title_, "Vocapost Message");
  ASSERT_NE(messages_.error_form(), nullptr);
  EXPECT_EQ(messages_.error_form()->Label1()->text(),
            "Recordedfile does not exist.");
  EXPECT_EQ(messages_.error_form()->windowTitle(), "Vocapost Message");
  EXPECT_TRUE(presenter_.messages.empty()) << "not a modal box";
}

TEST_F(PackageMessagesTest, FinishedPackageGoesToTheList) {
  temp_.WriteFile("vocap.exe", QByteArray(14336, '#'));
  temp_.WriteFile("m.vrc", QByteArray(2000, 'm'));
  EXPECT_GT(BuildMessagePackage("m.vrc", ui_), 0);
  EXPECT_EQ(ui_.shown, std::vector<QString>{"voca-MSGm.vrc.exe"});
  EXPECT_EQ(messages_.error_form(), nullptr);
}

// A package launch, as start-up chooses what to play.
TEST_F(PackageMessagesTest, PackageLaunchKeepsTheUsersFilesAndSaysWhyNot) {
  const QByteArray long_name = QByteArray(300, 'n') + ".vrc";
  const struct {
    QByteArray header_name;
    Selection selection;
    QString plays;
    QString warning;
  } cases[] = {
      {"05143012.vrc", Selection::kContinue, "05143013.vrc", {}},
      {long_name,
       Selection::kEnd,
       {},
       "The message file " + long_name + " cannot be created in "},
  };
  temp_.WriteFile("05143012.vrc", "the user's own recording");
  for (const auto& c : cases) {
    QByteArray header = "VOCAPOST" + c.header_name;
    header += QByteArray(1024 - header.size(), ' ');
    temp_.WriteFile("temp/voca-MSG05143012.exe",
                    QByteArray(2048, '#') + header + "WAV0      ");
    LaunchState launch;
    launch.command_line = "TEMP-MSG.EXE";
    presenter_.messages.clear();
    EXPECT_EQ(SelectPlayFile(launch, messages_, "temp"), c.selection);
    EXPECT_EQ(launch.play_file_name, c.plays);
    if (c.warning.isEmpty()) {
      EXPECT_TRUE(presenter_.messages.empty());
      EXPECT_EQ(temp_.ReadFile(c.plays.toStdString()), "WAV0      ");
    } else {
      ASSERT_EQ(presenter_.messages.size(), 1u);
      EXPECT_EQ(presenter_.messages[0].title, "Warning");
      EXPECT_TRUE(presenter_.messages[0].text.startsWith(c.warning))
          << presenter_.messages[0].text.toStdString();
    }
    EXPECT_EQ(temp_.ReadFile("05143012.vrc"), "the user's own recording");
  }
}

}  // namespace
}  // namespace vocapost
