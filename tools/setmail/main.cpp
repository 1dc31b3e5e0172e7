// vocapost-setmail: the Vocapost settings window. Vocapost's Setup starts it
// as "setmail.exe vocapost.exe"; Save and Cancel start that program again.
#include <QApplication>
#include <QDir>

#include "app/settings.h"
#include "app/standard_options.h"
#include "mail_programs.h"
#include "platform/environment/environment.h"
#include "platform/home/program_home.h"
#include "platform/message_box/qt_message_presenter.h"
#include "platform/process/program_start.h"
#include "platform/settings/settings_store.h"
#include "return_program.h"
#include "setmail_form.h"

namespace {

constexpr char kHelp[] =
    "Usage: vocapost-setmail [PROGRAM]\n"
    "The Vocapost settings window: the mail program, recording to memory,\n"
    "full duplex sound and the language. Save and Cancel start PROGRAM again\n"
    "when one is given; Vocapost's Setup gives \"vocapost.exe\".\n"
    "\n"
    "  --help     show this help and end\n"
    "  --version  show the version and end\n"
    "\n"
    "The settings are kept in $XDG_CONFIG_HOME/vocapost (~/.config/vocapost).\n"
    "See vocapost-setmail(1).\n";

}  // namespace

int main(int argc, char** argv) {
  if (vocapost::AnswerStandardOption(argc, argv, "vocapost-setmail", kHelp)) {
    return 0;
  }
  QApplication qt(argc, argv);
  QApplication::setApplicationName("vocapost-setmail");
  namespace setmail = vocapost::setmail;

  vocapost::IniSettingsStore settings(vocapost::DefaultConfigDir());
  vocapost::QtMessagePresenter presenter(
      vocapost::ReadEnvironment().autoclose_messages);
  vocapost::DetachedProgramStarter starter;
  const QStringList arguments = QApplication::arguments().mid(1);
  const QString home =
      QString::fromStdString(vocapost::ResolveProgramHome().string());
  const QString return_program =
      arguments.isEmpty()
          ? QString()
          : setmail::ReturnProgram(arguments.first(), home,
                                   QApplication::applicationDirPath());

  // The window speaks the language of the program home's files.
  QDir::setCurrent(home);
  setmail::SetmailForm form(
      {settings, presenter, starter,
       settings.FilePath(vocapost::kSettingsApplication),
       vocapost::ResolveProgramHome(), vocapost::ShippedDataDir()},
      setmail::FindMailPrograms(), return_program);
  form.show();
  return QApplication::exec();
}
