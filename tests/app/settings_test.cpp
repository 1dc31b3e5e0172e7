// The stored settings start-up reads before any window.
#include "app/settings.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

using StartupRulesTest = testing::HomeTest;

TEST(SettingNumberTest, ReadsTheLeadingNumberRoundedHalfToEvenInSixteenBits) {
  const std::pair<const char*, int> cases[] = {
      {"  7", 7},  {"\t-3", -3},  {"+4", 4},          {"12abc", 12},
      {"yes", 0},  {".", 0},      {"0.5", 0},         {"1.5", 2},
      {"2.5", 2},  {"-2.5", -2},  {".7", 1},          {"1e", 1},
      {"2E-1", 0}, {"1.5e1", 15}, {"32767.4", 32767}, {"-32768.5", -32768}};
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(SettingNumber(text), std::optional<int16_t>(expected))
        << '"' << text << '"';
  }
  for (const char* text : {"32768", "-32769", "32767.5", "1e999"})
    EXPECT_EQ(SettingNumber(text), std::nullopt) << text;
}

TEST_F(StartupRulesTest, StoredNumbersOrTheKeysDefaultsChooseDuplexAndLimit) {
  // Duplex, audio format, recorder and player blocks, largest message.
  using Read = std::tuple<int, int, int, int, int32_t>;
  const std::tuple<QString, QString, Read> cases[] = {
      {"", "", {1, 2, 1105, 1105, 2000000}},
      {"RecordToMemory", "1", {1, 2, 1105, 1105, 1048576}},
      {"FullDuplex", "yes", {0, 2, 1105, 1105, 2000000}},  // half duplex
      {"FullDuplex", "2", {2, 0, 0, 0, 2000000}},          // no audio
      {"FullDuplex", "65536", {1, 2, 1105, 1105, 2000000}}};
  for (const auto& [key, value, read] : cases) {
    SCOPED_TRACE(value.toStdString());
    const auto config = temp_.root() / ("set " + value.toStdString());
    std::filesystem::create_directories(config);
    IniSettingsStore store(QString::fromStdString(config.string()));
    if (!key.isEmpty())
      store.Set(kSettingsApplication, kSettingsSection, key, value);
    const SettingsState s = ReadSettings(store);
    EXPECT_EQ(Read(s.full_duplex, s.audio_format, s.audio_block_size,
                   s.player_block_size, MaximumMessageSize(s.record_to_memory)),
              read);
    EXPECT_EQ(s.use_email_client, "Outlook");
    EXPECT_EQ(std::filesystem::exists(config / "Vocapost Settings.ini"),
              !key.isEmpty())
        << "reading writes no defaults back";
  }
  IniSettingsStore store(QString::fromStdString(temp_.root().string()));
  ASSERT_TRUE(WriteFullDuplexSetting(store, "0"));
  EXPECT_EQ(ReadSettings(store).full_duplex, 0);
}

}  // namespace
}  // namespace vocapost
