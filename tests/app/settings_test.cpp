#include "app/settings.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

TEST(SettingNumberTest, ReadsTheLeadingNumberAndRoundsHalvesToEven) {
  const std::pair<const char*, int> cases[] = {
      {"1", 1},         {"  7", 7},         {"\t-3", -3},  {"+4", 4},
      {"12abc", 12},    {"3 4", 3},         {"yes", 0},    {"", 0},
      {"-", 0},         {".", 0},           {"0.5", 0},    {"1.5", 2},
      {"2.5", 2},       {"-2.5", -2},       {"2.51", 3},   {".7", 1},
      {"1e2", 100},     {"1e", 1},          {"1e+", 1},    {"2E-1", 0},
      {"32767", 32767}, {"-32768", -32768}, {"00012", 12}, {"1.2.3", 1},
      {"1.", 1},        {"1.e2", 100},      {"1.5e1", 15}, {"3.5", 4},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(SettingNumber(text), std::optional<int16_t>(expected))
        << '"' << text << '"';
  }
}

TEST(SettingNumberTest, NumbersOutsideSixteenBitsAreNotValues) {
  for (const char* text : {"32768", "-32769", "32767.5", "1e10", "1e999",
                           "99999999999999999999"}) {
    EXPECT_EQ(SettingNumber(text), std::nullopt) << text;
  }
  EXPECT_EQ(SettingNumber("32767.4"), std::optional<int16_t>(32767));
  EXPECT_EQ(SettingNumber("-32768.5"), std::optional<int16_t>(-32768));
}

TEST(SettingNumberTest, AnyBytesAreSafe) {
  QString odd = QString::fromLatin1("\0\0\x01\xff", 4);
  EXPECT_EQ(SettingNumber(odd), std::optional<int16_t>(0));
  EXPECT_EQ(SettingNumber(QString(100000, '9')), std::nullopt);
  EXPECT_EQ(SettingNumber("1" + QString(100000, 'x')),
            std::optional<int16_t>(1));
}

class ReadSettingsTest : public testing::HomeTest {
 protected:
  void Store(const QString& key, const QString& value) {
    ASSERT_TRUE(store_.Set(kSettingsApplication, kSettingsSection, key, value));
  }
  IniSettingsStore store_{QString::fromStdString(temp_.config().string())};
};

TEST_F(ReadSettingsTest, NoSettingsGiveTheDefaults) {
  const SettingsState s = ReadSettings(store_);
  EXPECT_EQ(s.record_to_memory, 0);
  EXPECT_EQ(s.full_duplex, 1);
  EXPECT_EQ(s.use_email_client, "Outlook");
  EXPECT_EQ(s.audio_format, 2);
  EXPECT_EQ(s.audio_block_size, 1105);
  EXPECT_EQ(s.player_block_size, 1105);
  EXPECT_EQ(MaximumMessageSize(s.record_to_memory), 2000000);
  EXPECT_FALSE(
      std::filesystem::exists(temp_.config() / "Vocapost Settings.ini"))
      << "reading must not write the defaults back";
}

TEST_F(ReadSettingsTest, RecordToMemoryOneLimitsMessagesToOneMebibyte) {
  Store("RecordToMemory", "1");
  EXPECT_EQ(MaximumMessageSize(ReadSettings(store_).record_to_memory), 1048576);
  Store("RecordToMemory", "2");
  EXPECT_EQ(MaximumMessageSize(ReadSettings(store_).record_to_memory), 2000000);
}

TEST_F(ReadSettingsTest, HalfDuplexStillRecordsGsm) {
  Store("FullDuplex", "yes");  // no number: half duplex
  const SettingsState s = ReadSettings(store_);
  EXPECT_EQ(s.full_duplex, 0);
  EXPECT_EQ(s.audio_format, 2);
  EXPECT_EQ(s.audio_block_size, 1105);
}

TEST_F(ReadSettingsTest, OtherDuplexValuesLeaveAudioUnset) {
  Store("FullDuplex", "2");
  const SettingsState s = ReadSettings(store_);
  EXPECT_EQ(s.full_duplex, 2);
  EXPECT_EQ(s.audio_format, 0);
  EXPECT_EQ(s.audio_block_size, 0);
  EXPECT_EQ(s.player_block_size, 0);
}

TEST_F(ReadSettingsTest, OutOfRangeNumbersFallBackToTheKeysDefault) {
  Store("FullDuplex", "65536");
  Store("RecordToMemory", "65537");
  const SettingsState s = ReadSettings(store_);
  EXPECT_EQ(s.full_duplex, 1);
  EXPECT_EQ(s.record_to_memory, 0);
}

TEST_F(ReadSettingsTest, MailProgramIsTakenAsWritten) {
  Store("UseEmailClient", "  Thunderbird 3 ");
  EXPECT_EQ(ReadSettings(store_).use_email_client, "  Thunderbird 3 ");
}

TEST_F(ReadSettingsTest, FullDuplexWriteTakesEffectAtTheNextRead) {
  const SettingsState before = ReadSettings(store_);
  ASSERT_TRUE(WriteFullDuplexSetting(store_, "0"));
  EXPECT_EQ(before.full_duplex, 1);
  EXPECT_EQ(ReadSettings(store_).full_duplex, 0);
}

TEST_F(ReadSettingsTest, GarbageSettingsFileNeverCrashes) {
  QByteArray junk("[Properties]\nFullDuplex=");
  junk.append(QByteArray("\0\xff\x1a\r", 4));
  junk.append(QByteArray(200000, 'z'));
  temp_.WriteFile(temp_.config() / "Vocapost Settings.ini", junk);
  const SettingsState s = ReadSettings(store_);
  EXPECT_EQ(s.record_to_memory, 0);
  EXPECT_EQ(s.use_email_client, "Outlook");
}

}  // namespace
}  // namespace vocapost
