#include "app/language_choice.h"

#include <dirent.h>
#include <gtest/gtest.h>

#include "support/temp_home.h"

namespace vocapost {
namespace {

using LanguageChoiceTest = testing::HomeTest;

TEST_F(LanguageChoiceTest, NoLanguageFileMeansEnglish) {
  temp_.WriteFile("VMESSAGE", "no extension");
  temp_.WriteFile("XVMESSAGE.JPN", "other name");
  EXPECT_EQ(ChooseLanguageExtension(temp_.home()), ".ENG");
}

TEST_F(LanguageChoiceTest, TakesTheLastFourCharactersOfTheFileName) {
  temp_.WriteFile("VMESSAGE.JPB", "");
  EXPECT_EQ(ChooseLanguageExtension(temp_.home()), ".JPB");
}

TEST_F(LanguageChoiceTest, NamesInAnyCaseCount) {
  temp_.WriteFile("vmessage.jpn", "");
  EXPECT_EQ(ChooseLanguageExtension(temp_.home()), ".jpn");
}

TEST_F(LanguageChoiceTest, FourCharactersNotStartingWithAPointKeepEnglish) {
  temp_.WriteFile("VMESSAGE.TEXT", "");
  EXPECT_EQ(ChooseLanguageExtension(temp_.home()), ".ENG");
}

TEST_F(LanguageChoiceTest, FoldersAreNotLanguageFiles) {
  std::filesystem::create_directory(temp_.home() / "VMESSAGE.DEU");
  EXPECT_EQ(ChooseLanguageExtension(temp_.home()), ".ENG");
}

TEST_F(LanguageChoiceTest, FirstFileOfTheListingWins) {
  temp_.WriteFile("VMESSAGE.ENG", "");
  temp_.WriteFile("VMESSAGE.JPN", "");
  temp_.WriteFile("other.txt", "");
  // The listing's own order, as the system gives it.
  QString first;
  DIR* dir = opendir(temp_.home().c_str());
  ASSERT_NE(dir, nullptr);
  while (const dirent* entry = readdir(dir)) {
    const QString name = entry->d_name;
    if (name.startsWith("VMESSAGE.")) {
      first = name.right(4);
      break;
    }
  }
  closedir(dir);
  EXPECT_EQ(ChooseLanguageExtension(temp_.home()), first);
}

}  // namespace
}  // namespace vocapost
