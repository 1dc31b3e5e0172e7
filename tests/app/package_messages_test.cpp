#include "app/package_messages.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

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

}  // namespace
}  // namespace vocapost
