#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <filesystem>
#include <vector>

#include "mail_programs.h"
#include "platform/message_box/message_presenter.h"
#include "platform/process/program_start.h"
#include "platform/settings/settings_store.h"

namespace vocapost::setmail {

struct SetmailServices {
  SettingsStore& settings;
  MessagePresenter& presenter;
  ProgramStarter& starter;
  QString settings_place;  // where the settings are kept, for the user
  // Where the language choice puts its files, and where it takes them
  // from; no choice is offered without them.
  std::filesystem::path program_home = {};
  std::filesystem::path shipped_data = {};
};

// The Vocapost settings: the mail program, recording to memory, full duplex
// sound and the language. Save and Cancel both start Vocapost again
// (`return_program`, none when empty) and close the window. The window
// speaks the language of the current folder's language file.
class SetmailForm final : public QWidget {
 public:
  SetmailForm(SetmailServices services, std::vector<MailProgram> found,
              QString return_program);

  void SaveButton_Click();
  void CancelButton_Click();

  QRadioButton* MailOption() const { return mail_option_; }
  QRadioButton* ProgramOption() const { return program_option_; }
  QLineEdit* ProgramLine() const { return program_line_; }
  QListWidget* ProgramList() const { return program_list_; }
  QLabel* FoundLabel() const { return found_label_; }
  QCheckBox* RecordToMemory() const { return record_to_memory_; }
  QCheckBox* FullDuplex() const { return full_duplex_; }
  QComboBox* LanguageChoice() const { return language_choice_; }
  QPushButton* SaveButton() const { return save_button_; }
  QPushButton* CancelButton() const { return cancel_button_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* CreateMailGroup();
  QWidget* CreateRecordingGroup();
  QWidget* CreateLanguageGroup();
  bool InstallChosenLanguage();
  QString Translated(const QString& text) const;
  void ShowStoredSettings();
  void ProgramChosen(QListWidgetItem* item);
  void ShowProgramChoice();
  bool WriteSettings();
  void StartAndEnd(const QStringList& arguments);
  void Tell(const QString& text);

  SetmailServices services_;
  std::vector<MailProgram> found_;
  QString return_program_;
  QString language_extension_;
  bool ending_ = false;
  QRadioButton* mail_option_ = nullptr;
  QLabel* found_label_ = nullptr;
  QRadioButton* program_option_ = nullptr;
  QLineEdit* program_line_ = nullptr;
  QListWidget* program_list_ = nullptr;
  QCheckBox* record_to_memory_ = nullptr;
  QCheckBox* full_duplex_ = nullptr;
  QComboBox* language_choice_ = nullptr;
  QPushButton* save_button_ = nullptr;
  QPushButton* cancel_button_ = nullptr;
};

}  // namespace vocapost::setmail
