#include "platform/settings/settings_store.h"

#include <gtest/gtest.h>

#include "platform/registry/registry_store.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

class SettingsStoreTest : public testing::HomeTest {
 protected:
  const std::filesystem::path folder_ = temp_.config() / "vocapost";
  const std::filesystem::path path_ = folder_ / "Vocapost Settings.ini";
  IniSettingsStore store_{QString::fromStdString(folder_.string())};
  std::optional<QString> Get(const QString& key) {
    return store_.Get("Vocapost Settings", "Properties", key);
  }
  bool Set(const QString& key, const QString& value) {
    return store_.Set("Vocapost Settings", "Properties", key, value);
  }
};

// Written as a user or the settings program writes it, not by our writer.
const QByteArray kHandWritten =
    "; Vocapost settings, edited by hand\r\n"
    "FullDuplex=7\r\n"
    "[properties]\r\n"
    "UseEmailClient=mutt -s \"Vocapost, message\" -a\r\n"
    "recordtomemory=1\r\n"
    "  List = a, b,c ; not a comment\r\n"
    "; FullDuplex=5\r\n"
    "Empty=\r\n"
    "\r\n"
    "[Other]\r\n"
    "Only=other\r\n"
    "[PROPERTIES]\r\n"
    "UseEmailClient=second\r\n"
    "Later=found in the second part\r\n";

TEST_F(SettingsStoreTest, HandWrittenValuesReachTheProgramExactly) {
  temp_.WriteFile(path_, kHandWritten);
  const std::pair<const char*, std::optional<QString>> cases[] = {
      {"UseEmailClient", "mutt -s \"Vocapost, message\" -a"},
      {"RecordToMemory", "1"},
      {"list", " a, b,c ; not a comment"},
      {"Empty", ""},
      {"Later", "found in the second part"},
      {"FullDuplex", std::nullopt},  // before any section, or a comment
      {"Only", std::nullopt},
  };
  for (const auto& [key, expected] : cases)
    EXPECT_EQ(Get(key), expected) << key;
}

TEST_F(SettingsStoreTest, AWriteChangesOnlyItsOwnLine) {
  const std::pair<QByteArray, QByteArray> cases[] = {
      // Added after the last value of the section's first part.
      {kHandWritten, QByteArray(kHandWritten)
                         .replace("Empty=\r\n", "Empty=\r\nFullDuplex=0\r\n")},
      // Replaced in place, the key's own spelling kept.
      {"[properties]\nfullduplex=1\n", "[properties]\nfullduplex=0\n"},
      {"\xEF\xBB\xBF[Properties]\nA=1",
       "\xEF\xBB\xBF[Properties]\nA=1\nFullDuplex=0"},
      // Comment lines are no values, whatever they hold.
      {"[Properties]\n; B=2\n", "[Properties]\nFullDuplex=0\n; B=2\n"},
      {"", "[Properties]\nFullDuplex=0\n"},  // no file yet
  };
  for (const auto& [before, after] : cases) {
    std::filesystem::remove_all(folder_);
    if (!before.isEmpty()) temp_.WriteFile(path_, before);
    ASSERT_TRUE(Set("FullDuplex", "0"));
    EXPECT_EQ(temp_.ReadFile(path_), after) << before.toStdString();
  }
}

TEST_F(SettingsStoreTest, TheOldFileStandsAndWhatCannotBeHeldIsNotWritten) {
  temp_.WriteFile(path_, kHandWritten);
  std::filesystem::create_hard_link(path_, folder_ / "old.ini");
  const QString text = "new, with a comma; and = signs";
  ASSERT_TRUE(Set("Later", text));
  // Written beside it and renamed: the old file was never opened for writing.
  EXPECT_EQ(temp_.ReadFile(folder_ / "old.ini"), kHandWritten);
  ASSERT_TRUE(Set("Later", text)) << "the same value again is no failure";
  EXPECT_FALSE(Set("Later", "two\nlines"));
  EXPECT_FALSE(Set("a=b", "x"));
  IniSettingsStore again(QString::fromStdString(folder_.string()));
  EXPECT_EQ(again.Get("Vocapost Settings", "Properties", "Later"), text);
  // A file too large to be a settings file is neither read nor replaced.
  const QByteArray huge = kHandWritten + QByteArray(2 << 20, ';');
  temp_.WriteFile(path_, huge);
  EXPECT_EQ(Get("Later"), std::nullopt);
  EXPECT_FALSE(Set("Later", "x"));
  EXPECT_EQ(temp_.ReadFile(path_).size(), huge.size());
}

TEST_F(SettingsStoreTest, RegistryKeysAreSectionsFoundIgnoringCase) {
  const auto path = folder_ / "registry.ini";
  IniRegistryStore registry(QString::fromStdString(folder_.string()));
  const QString key = "Software\\SMSV\\Video\\vfwcodec";
  EXPECT_EQ(registry.SetDword(key, "Ratio", 25), RegistryStore::kKeyMissing);
  EXPECT_FALSE(std::filesystem::exists(path));
  const QByteArray by_hand =
      "# kept\n[software\\smsv\\video\\VFWCODEC]\nratio=50\nOther=1\n";
  temp_.WriteFile(path, by_hand);
  EXPECT_TRUE(registry.CreateKey(key));
  EXPECT_EQ(registry.GetDword(key, "Ratio"), std::optional<uint32_t>(50));
  EXPECT_EQ(registry.SetDword(key, "Ratio", 100), RegistryStore::kOk);
  EXPECT_EQ(temp_.ReadFile(path),
            QByteArray(by_hand).replace("ratio=50", "ratio=100"));
}

}  // namespace
}  // namespace vocapost
