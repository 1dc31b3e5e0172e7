// The settings program: its window, where it returns to, and the mail
// programs it offers.
#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>
#include <QTest>

#include "app/settings.h"
#include "mail_programs.h"
#include "platform/message_box/message_presenter.h"
#include "return_program.h"
#include "setmail_form.h"
#include "support/languages.h"
#include "support/temp_home.h"

namespace vocapost::setmail {
namespace {
namespace fs = std::filesystem;

QString Path(const fs::path& path) {
  return QString::fromStdString(path.string());
}

class SetmailTest : public testing::HomeTest {
 protected:
  // The mail program, recording to memory and full duplex as stored.
  QStringList Stored() {
    QStringList values;
    for (const char* key : {"UseEmailClient", "RecordToMemory", "FullDuplex"})
      values << store_.Get(kSettingsApplication, kSettingsSection, key)
                    .value_or("-");
    return values;
  }
  void Store(const QString& key, const QString& value) {
    ASSERT_TRUE(store_.Set(kSettingsApplication, kSettingsSection, key, value));
  }
  // The window as setup opens it, returning to /opt/vocapost.
  void Open(const fs::path& home = {}, const fs::path& shipped = {}) {
    starter_.started.clear();
    form_ = std::make_unique<SetmailForm>(
        SetmailServices{store_, presenter_, starter_, "the settings folder",
                        home, shipped},
        std::vector<MailProgram>{{"Thunderbird", "thunderbird"},
                                 {"Claws Mail", "claws-mail"}},
        "/opt/vocapost");
    form_->show();
  }

  IniSettingsStore store_{Path(temp_.config() / "vocapost")};
  RecordingPresenter presenter_;
  RecordingStarter starter_;
  std::unique_ptr<SetmailForm> form_;
};

TEST_F(SetmailTest, SaveWritesTheSettingsAndStartsVocapostFromSetup) {
  Store("UseEmailClient", "evolution --component=mail");
  Store("RecordToMemory", "1");
  Open();
  // What was stored is shown.
  EXPECT_TRUE(form_->ProgramOption()->isChecked());
  EXPECT_EQ(form_->ProgramLine()->text(), "evolution --component=mail");
  EXPECT_TRUE(form_->RecordToMemory()->isChecked());
  EXPECT_TRUE(form_->FullDuplex()->isChecked()) << "absent means full duplex";
  EXPECT_EQ(form_->FoundLabel()->text(), "Found: Thunderbird");

  // A program picked from the list goes into the command line.
  emit form_->ProgramList()->itemClicked(form_->ProgramList()->item(1));
  EXPECT_EQ(form_->ProgramLine()->text(), "claws-mail");
  form_->RecordToMemory()->setChecked(false);
  form_->FullDuplex()->setChecked(false);
  QTest::mouseClick(form_->SaveButton(), Qt::LeftButton);

  EXPECT_EQ(Stored(), QStringList({"claws-mail", "0", "0"}));
  EXPECT_TRUE(presenter_.messages.empty());
  EXPECT_FALSE(form_->isVisible()) << "the settings program ends";
  EXPECT_EQ(starter_.started,
            (std::vector<QStringList>{{"/opt/vocapost", "FROMSET"}}));

  // The program's own mail choice; without a program home no language is
  // offered.
  Open();
  EXPECT_EQ(form_->LanguageChoice(), nullptr);
  form_->MailOption()->setChecked(true);
  form_->SaveButton_Click();
  EXPECT_EQ(Stored(), QStringList({"Outlook", "0", "0"}));
}

// Cancel, or closing the window, saves nothing and gives Vocapost back once;
// a store that cannot be written is told.
TEST_F(SetmailTest, CancelOrAFailedSaveWritesNothingAndStartsNothingNew) {
  for (const bool by_button : {true, false}) {
    Open();
    form_->RecordToMemory()->setChecked(true);
    if (by_button)
      QTest::mouseClick(form_->CancelButton(), Qt::LeftButton);
    else
      form_->close();
    EXPECT_EQ(starter_.started, std::vector<QStringList>{{"/opt/vocapost"}});
    EXPECT_FALSE(form_->isVisible());
  }
  EXPECT_EQ(Stored(), QStringList({"-", "-", "-"}));
  // The store's folder is a file: nothing can be written there.
  temp_.WriteFile(temp_.config() / "vocapost", "");
  Open();
  form_->SaveButton_Click();
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_TRUE(presenter_.messages[0].text.startsWith(
      "The settings could not be saved in the settings folder."));
  EXPECT_TRUE(starter_.started.empty());
  EXPECT_TRUE(form_->isVisible()) << "the user can still cancel";
}

TEST_F(SetmailTest, LanguageChoicePutsItsFilesInAndTakesTheOthersOut) {
  const fs::path shipped = temp_.root() / "shipped";
  for (const char* set : {"DEU", "JPN"}) {
    fs::create_directories(shipped / "languages");
    fs::copy(testing::ShippedLanguageSet(set), shipped / "languages" / set);
  }
  // Saves `language`; returns the one shown first, the one the home speaks.
  const auto choose = [&](int language) {
    Open(temp_.home(), shipped);
    const int shown = form_->LanguageChoice()->currentIndex();
    form_->LanguageChoice()->setCurrentIndex(language);
    form_->SaveButton_Click();
    EXPECT_EQ(starter_.started.size(), presenter_.messages.empty() ? 1u : 0u);
    return shown;
  };
  const auto files = [] {
    return QDir().entryList(QDir::Files, QDir::Name).join(' ');
  };
  EXPECT_EQ(choose(1), 0);
  EXPECT_EQ(files(), "CWINDO00.DEU VMESSAGE.DEU");

  // The same choice again leaves the user's changes alone.
  temp_.WriteFile("VMESSAGE.DEU", "Warning\r\nAchtung!\r\n");
  EXPECT_EQ(choose(1), 1);
  EXPECT_EQ(temp_.ReadFile("VMESSAGE.DEU"), "Warning\r\nAchtung!\r\n");

  // Changed or not, the other language's files go; a copy made on a system
  // that ignores case is the same file.
  temp_.WriteFile("cwindo00.jpn", "Help\r\nold\r\n");
  EXPECT_EQ(choose(2), 1);
  EXPECT_EQ(files(), "CWINDO00.JPN VMESSAGE.JPN usefont.txt");
  EXPECT_EQ(temp_.ReadFile("usefont.txt"), "14\r\n");

  // The shipped font choice goes with its language.
  choose(0);
  EXPECT_EQ(files(), "");
  // A font choice of the user's own stays.
  choose(2);
  temp_.WriteFile("usefont.txt", "9\r\n");
  choose(0);
  EXPECT_EQ(temp_.ReadFile("usefont.txt"), "9\r\n");
  EXPECT_TRUE(presenter_.messages.empty());

  // Shipped files that are not there are told, and Vocapost is not started.
  fs::remove_all(shipped / "languages" / "DEU");
  choose(1);
  ASSERT_EQ(presenter_.messages.size(), 1u);
  EXPECT_TRUE(presenter_.messages[0].text.startsWith(
      "The language files could not be put into " + Path(temp_.home())));
}

TEST_F(SetmailTest, ReturnProgramIsTheHomesThenOneBesideUsThenOnPath) {
  const QString home = Path(temp_.home()), tools = Path(temp_.root() / "bin");
  temp_.WriteFile(temp_.root() / "bin" / "vocapost", "#!/bin/sh\n");
  fs::permissions(temp_.root() / "bin" / "vocapost", fs::perms::owner_all);
  EXPECT_EQ(ReturnProgram("vocapost.exe", home, tools), tools + "/vocapost");
  EXPECT_EQ(ReturnProgram("sh.exe", home, tools),
            QStandardPaths::findExecutable("sh"));
  EXPECT_EQ(ReturnProgram("absent.exe", home, tools), "absent");
  temp_.WriteFile("vocapost.exe", "#!/bin/sh\n");
  EXPECT_EQ(ReturnProgram("vocapost.exe", home, tools), home + "/vocapost.exe");
}

TEST_F(SetmailTest, MailProgramsAreTheDesktopDefaultThenKnownOnesOnPath) {
  const fs::path bin = temp_.root() / "path";
  for (const char* name : {"xdg-mime", "thunderbird", "mymail"}) {
    temp_.WriteFile(bin / name, name == std::string("xdg-mime")
                                    ? "#!/bin/sh\necho mymail.desktop\n"
                                    : "#!/bin/sh\n");
    fs::permissions(bin / name, fs::perms::owner_all);
  }
  temp_.WriteFile(temp_.root() / "data" / "applications" / "mymail.desktop",
                  "[Desktop Entry]\nName=My Mail\nName[de]=Meine Post\n"
                  "Exec=mymail --compose %u\n[Desktop Action New]\n"
                  "Exec=mymail --new\n");
  const QByteArray old_path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(bin.string()));
  const std::vector<MailProgram> found = FindMailPrograms();
  qputenv("PATH", old_path);
  QStringList names;
  for (const MailProgram& program : found)
    names << program.name + "=" + program.command;
  EXPECT_EQ(names, QStringList({"My Mail=mymail --compose",
                                "Thunderbird=thunderbird"}));
}

}  // namespace
}  // namespace vocapost::setmail
