#include "setmail_form.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "app/language_choice.h"
#include "app/launch_selection.h"
#include "app/settings.h"
#include "language_files.h"
#include "messages/language_file.h"
#include "platform/text/user_text.h"

namespace vocapost::setmail {
namespace {

const QString kOutlook = "Outlook";
const QString kTitle = UserText("Vocapost Properties");

QLabel* Explanation(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  label->setIndent(22);  // under the text of the control it explains
  label->setForegroundRole(QPalette::PlaceholderText);
  return label;
}

}  // namespace

SetmailForm::SetmailForm(SetmailServices services,
                         std::vector<MailProgram> found, QString return_program)
    : services_(std::move(services)),
      found_(std::move(found)),
      return_program_(std::move(return_program)),
      language_extension_(
          ChooseLanguageExtension(std::filesystem::current_path())) {
  setObjectName("SetmailForm");
  setWindowTitle(Translated(kTitle));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CreateMailGroup());
  layout->addWidget(CreateRecordingGroup());
  if (!services_.program_home.empty()) layout->addWidget(CreateLanguageGroup());
  auto* buttons = new QDialogButtonBox;
  save_button_ = buttons->addButton(Translated(UserText("&Save")),
                                    QDialogButtonBox::AcceptRole);
  save_button_->setObjectName("SaveButton");
  save_button_->setDefault(true);
  cancel_button_ = buttons->addButton(Translated(UserText("&Cancel")),
                                      QDialogButtonBox::RejectRole);
  cancel_button_->setObjectName("CancelButton");
  connect(save_button_, &QPushButton::clicked, this,
          [this] { SaveButton_Click(); });
  connect(cancel_button_, &QPushButton::clicked, this,
          [this] { CancelButton_Click(); });
  layout->addWidget(buttons);
  ShowStoredSettings();
  resize(520, sizeHint().height());
}

QString SetmailForm::Translated(const QString& text) const {
  return LookUpMessageText(text, language_extension_);
}

QWidget* SetmailForm::CreateMailGroup() {
  auto* group = new QGroupBox(Translated(UserText("Mail program")));
  auto* layout = new QVBoxLayout(group);
  mail_option_ = new QRadioButton(Translated(UserText(
      "Open a new mail in my mail program with the message attached")));
  mail_option_->setObjectName("MailOption");
  found_label_ = Explanation(
      found_.empty()
          ? Translated(UserText("No mail program was found."))
          : Translated(UserText("Found: %1")).arg(found_.front().name));
  found_label_->setObjectName("FoundLabel");
  program_option_ = new QRadioButton(Translated(
      UserText("Start this program, and I drag the message into the mail")));
  program_option_->setObjectName("ProgramOption");
  program_line_ = new QLineEdit;
  program_line_->setObjectName("ProgramLine");
  program_line_->setPlaceholderText(
      Translated(UserText("the command that starts the program")));
  program_list_ = new QListWidget;
  program_list_->setObjectName("ProgramList");
  for (const MailProgram& program : found_) {
    program_list_->addItem(program.name + "  (" + program.command + ")");
  }
  program_list_->setMaximumHeight(program_list_->sizeHintForRow(0) * 4 +
                                  2 * program_list_->frameWidth());
  connect(program_list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ProgramChosen(item); });
  connect(program_option_, &QRadioButton::toggled, this,
          [this] { ShowProgramChoice(); });
  for (QWidget* control : {static_cast<QWidget*>(mail_option_),
                           static_cast<QWidget*>(found_label_),
                           static_cast<QWidget*>(program_option_),
                           static_cast<QWidget*>(program_line_),
                           static_cast<QWidget*>(program_list_)}) {
    layout->addWidget(control);
  }
  return group;
}

QWidget* SetmailForm::CreateRecordingGroup() {
  auto* group = new QGroupBox(Translated(UserText("Recording")));
  auto* layout = new QVBoxLayout(group);
  record_to_memory_ = new QCheckBox(Translated(UserText("Record to memory")));
  record_to_memory_->setObjectName("RecordToMemory");
  full_duplex_ = new QCheckBox(Translated(UserText("Full duplex sound")));
  full_duplex_->setObjectName("FullDuplex");
  layout->addWidget(record_to_memory_);
  layout->addWidget(Explanation(Translated(
      UserText("Keeps a recording in memory until it stops (up to 1 MB); "
               "otherwise it is written as it goes (up to 2 MB)."))));
  layout->addWidget(full_duplex_);
  layout->addWidget(Explanation(Translated(
      UserText("The sound card records and plays at the same time; turn "
               "off for a card that can do only one at a time."))));
  return group;
}

QWidget* SetmailForm::CreateLanguageGroup() {
  auto* group = new QGroupBox(Translated(UserText("Language")));
  auto* layout = new QVBoxLayout(group);
  language_choice_ = new QComboBox;
  language_choice_->setObjectName("LanguageChoice");
  // Each language by its own name, so that anyone finds theirs.
  for (const ShippedLanguage& language : ShippedLanguages())
    language_choice_->addItem(language.name);
  layout->addWidget(language_choice_);
  layout->addWidget(Explanation(Translated(
      UserText("Vocapost speaks this language from its next start."))));
  return group;
}

void SetmailForm::ShowStoredSettings() {
  const SettingsState stored = ReadSettings(services_.settings);
  record_to_memory_->setChecked(stored.record_to_memory == 1);
  full_duplex_->setChecked(stored.full_duplex == 1);
  if (stored.use_email_client == kOutlook) {
    mail_option_->setChecked(true);
  } else {
    program_line_->setText(stored.use_email_client);
    program_option_->setChecked(true);
  }
  ShowProgramChoice();
  if (language_choice_ != nullptr)
    language_choice_->setCurrentIndex(
        InstalledLanguage(services_.program_home));
}

void SetmailForm::ShowProgramChoice() {
  const bool program = program_option_->isChecked();
  program_line_->setEnabled(program);
  program_list_->setEnabled(program);
  if (program && program_line_->text().trimmed().isEmpty() && !found_.empty())
    program_line_->setText(found_.front().command);
}

void SetmailForm::ProgramChosen(QListWidgetItem* item) {
  const int row = program_list_->row(item);
  if (row < 0 || row >= static_cast<int>(found_.size())) return;
  program_line_->setText(found_[row].command);
}

bool SetmailForm::WriteSettings() {
  const QString mail =
      mail_option_->isChecked() ? kOutlook : program_line_->text().trimmed();
  const std::pair<QString, QString> values[] = {
      {"RecordToMemory", record_to_memory_->isChecked() ? "1" : "0"},
      {"FullDuplex", full_duplex_->isChecked() ? "1" : "0"},
      {"UseEmailClient", mail},
  };
  for (const auto& [key, value] : values) {
    if (!services_.settings.Set(kSettingsApplication, kSettingsSection, key,
                                value))
      return false;
  }
  return true;
}

bool SetmailForm::InstallChosenLanguage() {
  if (language_choice_ == nullptr) return true;
  const int chosen = language_choice_->currentIndex();
  // The same language again keeps the files as they are, edits and all.
  if (chosen == InstalledLanguage(services_.program_home)) return true;
  const std::optional<QString> failed =
      InstallLanguage(chosen, services_.program_home, services_.shipped_data);
  if (!failed) return true;
  Tell(Translated(UserText("The language files could not be put into %1 "
                           "(%2).  Please press Save again."))
           .arg(QString::fromStdString(services_.program_home.string()),
                *failed));
  return false;
}

void SetmailForm::SaveButton_Click() {
  if (program_option_->isChecked() &&
      program_line_->text().trimmed().isEmpty()) {
    Tell(Translated(
        UserText("Please enter the command that starts your mail program.")));
    return;
  }
  if (!WriteSettings()) {
    Tell(Translated(UserText("The settings could not be saved in %1.  Please "
                             "check that this folder can be written to, then "
                             "press Save again."))
             .arg(services_.settings_place));
    return;
  }
  if (!InstallChosenLanguage()) return;
  StartAndEnd({kSetupLaunch});
}

void SetmailForm::CancelButton_Click() { StartAndEnd({}); }

void SetmailForm::StartAndEnd(const QStringList& arguments) {
  if (ending_) return;
  ending_ = true;
  if (!return_program_.isEmpty() &&
      !services_.starter.Start(return_program_, arguments)) {
    Tell(Translated(UserText("Vocapost could not be started (%1).  Please "
                             "start it yourself."))
             .arg(return_program_));
  }
  close();
}

void SetmailForm::Tell(const QString& text) {
  services_.presenter.Present({Translated(kTitle), text, 0});
}

void SetmailForm::closeEvent(QCloseEvent* event) {
  // Closing the window is a Cancel: the user gets Vocapost back.
  if (!ending_) CancelButton_Click();
  event->accept();
}

}  // namespace vocapost::setmail
