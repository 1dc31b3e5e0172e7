#include "app/settings.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

TEST(SettingNumberTest, ReadsTheLeadingNumberRoundedHalfToEvenInSixteenBits) {
  const std::pair<const char*, int> cases[] = {
      {"  7", 7},    {"\t-3", -3},  {"+4", 4},          {"12abc", 12},
      {"yes", 0},    {"-", 0},      {".", 0},           {"0.5", 0},
      {"1.5", 2},    {"2.5", 2},    {"3.5", 4},         {"-2.5", -2},
      {".7", 1},     {"1e2", 100},  {"1e", 1},          {"2E-1", 0},
      {"1.5e1", 15}, {"00012", 12}, {"32767.4", 32767}, {"-32768.5", -32768},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(SettingNumber(text), std::optional<int16_t>(expected))
        << '"' << text << '"';
  }
  for (const char* text : {"32768", "-32769", "32767.5", "1e999"})
    EXPECT_EQ(SettingNumber(text), std::nullopt) << text;
}

class ReadSettingsTest : public testing::HomeTest {
 protected:
  IniSettingsStore store_{QString::fromStdString(temp_.config().string())};
};

TEST_F(ReadSettingsTest, StoredNumbersOrTheKeysDefaultsChooseDuplexAndLimit) {
  const struct {
    const char* label;
    std::vector<std::pair<QString, QString>> stored;
    int16_t full_duplex;
    int16_t audio_format;
    int16_t block_size;
    int32_t message_limit;
  } cases[] = {
      {"nothing stored", {}, 1, 2, 1105, 2000000},
      {"to memory", {{"RecordToMemory", "1"}}, 1, 2, 1105, 1048576},
      {"to a file", {{"RecordToMemory", "2"}}, 1, 2, 1105, 2000000},
      {"yes: half duplex", {{"FullDuplex", "yes"}}, 0, 2, 1105, 2000000},
      {"other duplex: no audio", {{"FullDuplex", "2"}}, 2, 0, 0, 2000000},
      {"big duplex", {{"FullDuplex", "65536"}}, 1, 2, 1105, 2000000},
      {"big memory", {{"RecordToMemory", "65537"}}, 1, 2, 1105, 2000000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::filesystem::path config = temp_.root() / c.label;
    std::filesystem::create_directories(config);
    IniSettingsStore store(QString::fromStdString(config.string()));
    for (const auto& [key, value] : c.stored) {
      ASSERT_TRUE(
          store.Set(kSettingsApplication, kSettingsSection, key, value));
    }
    const SettingsState s = ReadSettings(store);
    EXPECT_EQ(s.full_duplex, c.full_duplex);
    EXPECT_EQ(s.audio_format, c.audio_format);
    EXPECT_EQ(s.audio_block_size, c.block_size);
    EXPECT_EQ(s.player_block_size, c.block_size);
    EXPECT_EQ(MaximumMessageSize(s.record_to_memory), c.message_limit);
    EXPECT_EQ(s.use_email_client, "Outlook");
    EXPECT_EQ(std::filesystem::exists(config / "Vocapost Settings.ini"),
              !c.stored.empty())
        << "reading writes no defaults back";
  }
}

TEST_F(ReadSettingsTest, FullDuplexWriteShowsAtTheNextRead) {
  ASSERT_TRUE(WriteFullDuplexSetting(store_, "0"));
  EXPECT_EQ(ReadSettings(store_).full_duplex, 0);
}

}  // namespace
}  // namespace vocapost
