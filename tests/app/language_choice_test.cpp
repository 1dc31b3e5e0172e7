#include "app/language_choice.h"

#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

using LanguageChoiceTest = testing::HomeTest;

TEST_F(LanguageChoiceTest, LanguageFileNamesTheExtensionElseEnglish) {
  const struct {
    const char* label;
    std::vector<std::string> files;
    QString expected;
  } cases[] = {
      {"other names", {"VMESSAGE", "XVMESSAGE.JPN"}, ".ENG"},
      {"last four characters", {"VMESSAGE.JPB"}, ".JPB"},
      {"any case", {"vmessage.jpn"}, ".jpn"},
      {"no point in the last four", {"VMESSAGE.TEXT"}, ".ENG"},
      {"a folder", {"VMESSAGE.DEU/inside"}, ".ENG"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    const std::filesystem::path dir = temp_.home() / c.label;
    for (const std::string& file : c.files) temp_.WriteFile(dir / file, "");
    EXPECT_EQ(ChooseLanguageExtension(dir), c.expected);
  }
}

}  // namespace
}  // namespace vocapost
