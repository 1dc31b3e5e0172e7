#include "platform/settings/settings_store.h"

#include <gtest/gtest.h>

#include "platform/registry/registry_store.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

class SettingsStoreTest : public testing::HomeTest {
 protected:
  IniSettingsStore store_{
      QString::fromStdString((temp_.config() / "vocapost").string())};
};

TEST_F(SettingsStoreTest, ValuesSurviveANewStoreAndKeepTheirText) {
  EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", "Mail"),
            std::nullopt);
  const QString text = "Mail, with a comma; and = signs";
  ASSERT_TRUE(store_.Set("Vocapost Settings", "Properties", "Mail", text));
  ASSERT_TRUE(store_.Set("Vocapost Settings", "Properties", "Empty", ""));
  ASSERT_TRUE(store_.Set("Vocapost Settings", "Properties", "Mail", text))
      << "the same value again is no failure";
  IniSettingsStore again(
      QString::fromStdString((temp_.config() / "vocapost").string()));
  EXPECT_EQ(again.Get("Vocapost Settings", "Properties", "Mail"), text);
  EXPECT_EQ(again.Get("Vocapost Settings", "Properties", "Empty"), QString(""));
  EXPECT_EQ(again.Get("Vocapost Settings", "Other", "Mail"), std::nullopt);
}

// Written as a user or the settings program writes it, not by our writer.
const QByteArray kHandWritten =
    "; Vocapost settings, edited by hand\r\n"
    "FullDuplex=7\r\n"
    "[properties]\r\n"
    "UseEmailClient=mutt -s \"Vocapost, message\" -a\r\n"
    "Mailer=C:\\Program Files\\Mail\\mail.exe\r\n"
    "recordtomemory=1\r\n"
    "  List = a, b,c ; not a comment\r\n"
    "; FullDuplex=5\r\n"
    "Equals==x=\r\n"
    "Empty=\r\n"
    "\r\n"
    "[Other]\r\n"
    "Only=other\r\n"
    "[PROPERTIES]\r\n"
    "UseEmailClient=second\r\n"
    "Later=found in the second part\r\n";

TEST_F(SettingsStoreTest, HandWrittenValuesReachTheProgramExactly) {
  temp_.WriteFile(temp_.config() / "vocapost" / "Vocapost Settings.ini",
                  kHandWritten);
  const std::pair<const char*, std::optional<QString>> cases[] = {
      {"UseEmailClient", "mutt -s \"Vocapost, message\" -a"},
      {"Mailer", "C:\\Program Files\\Mail\\mail.exe"},
      {"RecordToMemory", "1"},
      {"list", " a, b,c ; not a comment"},
      {"Equals", "=x="},
      {"Empty", ""},
      {"Later", "found in the second part"},
      {"FullDuplex", std::nullopt},  // before any section, or a comment
      {"Only", std::nullopt},
  };
  for (const auto& [key, expected] : cases) {
    EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", key), expected)
        << key;
  }
}

TEST_F(SettingsStoreTest, AWriteChangesOnlyItsOwnLine) {
  const auto path = temp_.config() / "vocapost" / "Vocapost Settings.ini";
  struct Case {
    QByteArray before, after;  // an empty "before": no file yet
  };
  QByteArray replaced = kHandWritten;
  replaced.replace("FullDuplex=7\r\n[properties]\r\n",
                   "FullDuplex=7\r\n[properties]\r\nfullduplex=0\r\n");
  const Case cases[] = {
      // Added after the last value of the section's first part.
      {kHandWritten, QByteArray(kHandWritten)
                         .replace("Empty=\r\n", "Empty=\r\nFullDuplex=0\r\n")},
      // Replaced in place, the key's own spelling kept.
      {QByteArray(kHandWritten)
           .replace("[properties]\r\n", "[properties]\r\nfullduplex=1\r\n"),
       replaced},
      {"\xEF\xBB\xBF[Properties]\nA=1",
       "\xEF\xBB\xBF[Properties]\nA=1\nFullDuplex=0"},
      {"[Properties]\n", "[Properties]\nFullDuplex=0\n"},
      // Comment lines are no values, whatever they hold.
      {"[Properties]\nA=1\n; B=2\n",
       "[Properties]\nA=1\nFullDuplex=0\n; B=2\n"},
      {"; nothing yet", "; nothing yet\n[Properties]\nFullDuplex=0"},
      {"", "[Properties]\nFullDuplex=0\n"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(path.parent_path());
    if (!c.before.isEmpty()) temp_.WriteFile(path, c.before);
    ASSERT_TRUE(
        store_.Set("Vocapost Settings", "Properties", "FullDuplex", "0"));
    EXPECT_EQ(temp_.ReadFile(path), c.after) << c.before.toStdString();
    EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", "FullDuplex"),
              QString("0"));
  }
}

TEST_F(SettingsStoreTest, TheOldFileStandsAndWhatCannotBeHeldIsNotWritten) {
  const auto path = temp_.config() / "vocapost" / "Vocapost Settings.ini";
  temp_.WriteFile(path, kHandWritten);
  const auto old_name = path.parent_path() / "old.ini";
  std::filesystem::create_hard_link(path, old_name);
  ASSERT_TRUE(store_.Set("Vocapost Settings", "Properties", "Later", "new"));
  // Written beside it and renamed: the old file was never opened for writing.
  EXPECT_EQ(temp_.ReadFile(old_name), kHandWritten);
  temp_.WriteFile(path, kHandWritten);
  EXPECT_FALSE(
      store_.Set("Vocapost Settings", "Properties", "Later", "two\nlines"));
  EXPECT_FALSE(store_.Set("Vocapost Settings", "Properties", "a=b", "x"));
  EXPECT_EQ(temp_.ReadFile(path), kHandWritten);
  // A file too large to be a settings file is neither read nor replaced.
  const QByteArray huge = kHandWritten + QByteArray(2 << 20, ';');
  temp_.WriteFile(path, huge);
  EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", "Later"),
            std::nullopt);
  EXPECT_FALSE(store_.Set("Vocapost Settings", "Properties", "Later", "x"));
  EXPECT_EQ(temp_.ReadFile(path).size(), huge.size());
}

TEST_F(SettingsStoreTest, RegistryKeysAreSectionsFoundIgnoringCase) {
  const auto path = temp_.config() / "vocapost" / "registry.ini";
  IniRegistryStore registry(
      QString::fromStdString(path.parent_path().string()));
  const QString key = "Software\\SMSV\\Video\\vfwcodec";
  EXPECT_EQ(registry.SetDword(key, "Ratio", 25), RegistryStore::kKeyMissing);
  EXPECT_FALSE(std::filesystem::exists(path));
  const QByteArray by_hand =
      "# kept\n[software\\smsv\\video\\VFWCODEC]\nratio=50\nOther=1\n";
  temp_.WriteFile(path, by_hand);
  EXPECT_TRUE(registry.CreateKey(key));
  EXPECT_EQ(temp_.ReadFile(path), by_hand) << "the key was there already";
  EXPECT_EQ(registry.GetDword(key, "Ratio"), std::optional<uint32_t>(50));
  EXPECT_EQ(registry.SetDword(key, "Ratio", 100), RegistryStore::kOk);
  EXPECT_EQ(temp_.ReadFile(path),
            QByteArray(by_hand).replace("ratio=50", "ratio=100"));
  std::filesystem::remove(path);
  EXPECT_TRUE(registry.CreateKey(key));
  EXPECT_EQ(registry.SetDword(key, "Ratio", 25), RegistryStore::kOk);
  EXPECT_EQ(temp_.ReadFile(path),
            "[Software\\SMSV\\Video\\vfwcodec]\nRatio=25\n");
}

}  // namespace
}  // namespace vocapost
