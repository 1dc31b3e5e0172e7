#include "platform/settings/settings_store.h"

#include <gtest/gtest.h>

#include "platform/registry/registry_store.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {

class SettingsStoreTest : public testing::HomeTest {
 protected:
  const std::filesystem::path folder_ = temp_.config() / "vocapost";
  IniSettingsStore store_{QString::fromStdString(folder_.string())};
  bool Set(const QString& value) {
    return store_.Set("Vocapost Settings", "Properties", "FullDuplex", value);
  }
};

// Files written by hand: either line end, indented keys, comment lines,
// no line end after the last.
TEST_F(SettingsStoreTest, HandWrittenFilesAreReadExactlyAndChangedInOneLine) {
  const struct {
    QByteArray before;
    std::optional<QString> list;
    QByteArray after;  // FullDuplex set to 0
  } cases[] = {
      {"[properties]\r\n  List = a, b ; c\r\nB=1", " a, b ; c",
       "[properties]\r\n  List = a, b ; c\r\nB=1\r\nFullDuplex=0"},
      {"[Properties]\n; List=2\nfullduplex=1\n", std::nullopt,
       "[Properties]\n; List=2\nfullduplex=0\n"},
      {"[Properties]\n; List=2\n", std::nullopt,
       "[Properties]\nFullDuplex=0\n; List=2\n"},
  };
  const auto path = folder_ / "Vocapost Settings.ini";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before.toStdString());
    temp_.WriteFile(path, c.before);
    EXPECT_EQ(store_.Get("Vocapost Settings", "Properties", "List"), c.list);
    ASSERT_TRUE(Set("0"));
    EXPECT_EQ(temp_.ReadFile(path), c.after);
    EXPECT_TRUE(Set("0")) << "the same value again is no failure";
  }
  EXPECT_FALSE(Set("two\nlines"));
  // Registry keys are sections, found ignoring case.
  IniRegistryStore registry(QString::fromStdString(folder_.string()));
  const QString key = "Software\\SMSV\\Video\\vfwcodec";
  EXPECT_EQ(registry.SetDword(key, "Ratio", 25), RegistryStore::kKeyMissing);
  temp_.WriteFile(folder_ / "registry.ini",
                  "[software\\smsv\\video\\VFWCODEC]\nratio=50\n");
  EXPECT_EQ(registry.GetDword(key, "Ratio"), std::optional<uint32_t>(50));
}

}  // namespace
}  // namespace vocapost
