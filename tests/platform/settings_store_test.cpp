#include "platform/settings/settings_store.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

class SettingsStoreTest : public testing::HomeTest {
 protected:
  IniSettingsStore store_{
      QString::fromStdString((temp_.config() / "vocapost").string())};
};

TEST_F(SettingsStoreTest, AbsentValueIsNotAnEmptyString) {
  EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", "FullDuplex"),
            std::nullopt);
  ASSERT_TRUE(store_.Set("Vocapost Settings", "Properties", "FullDuplex", ""));
  EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", "FullDuplex"),
            QString(""));
}

TEST_F(SettingsStoreTest, ValuesSurviveANewStoreAndKeepTheirText) {
  ASSERT_TRUE(store_.Set("Vocapost Settings", "Properties", "UseEmailClient",
                         "Mail, with a comma; and = signs"));
  IniSettingsStore again(
      QString::fromStdString((temp_.config() / "vocapost").string()));
  EXPECT_EQ(again.Get("Vocapost Settings", "Properties", "UseEmailClient"),
            QString("Mail, with a comma; and = signs"));
  EXPECT_EQ(again.Get("Vocapost Settings", "Other", "UseEmailClient"),
            std::nullopt);
}

TEST_F(SettingsStoreTest, ReadsAFileWrittenByHand) {
  temp_.WriteFile(
      temp_.config() / "vocapost" / "Vocapost Settings.ini",
      "[Properties]\nRecordToMemory=1\nUseEmailClient=Outlook, Express\n");
  EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", "RecordToMemory"),
            QString("1"));
  EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", "UseEmailClient"),
            QString("Outlook, Express"));
}

}  // namespace
}  // namespace vocapost
