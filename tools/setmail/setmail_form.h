#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
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
};

// The Vocapost settings: the mail program, recording to memory and full
// duplex sound. Save and Cancel both start Vocapost again (`return_program`,
// none when empty) and close the window.
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
  QPushButton* SaveButton() const { return save_button_; }
  QPushButton* CancelButton() const { return cancel_button_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* CreateMailGroup();
  QWidget* CreateRecordingGroup();
  void ShowStoredSettings();
  void ProgramChosen(QListWidgetItem* item);
  void ShowProgramChoice();
  bool WriteSettings();
  void StartAndEnd(const QStringList& arguments);
  void Tell(const QString& text);

  SetmailServices services_;
  std::vector<MailProgram> found_;
  QString return_program_;
  bool ending_ = false;
  QRadioButton* mail_option_ = nullptr;
  QLabel* found_label_ = nullptr;
  QRadioButton* program_option_ = nullptr;
  QLineEdit* program_line_ = nullptr;
  QListWidget* program_list_ = nullptr;
  QCheckBox* record_to_memory_ = nullptr;
  QCheckBox* full_duplex_ = nullptr;
  QPushButton* save_button_ = nullptr;
  QPushButton* cancel_button_ = nullptr;
};

}  // namespace vocapost::setmail
