#include "app/launch_selection.h"

#include <QDir>
#include <QFileInfo>

#include "app/markers.h"
#include "message/message_package.h"
#include "message/message_reader.h"
#include "message/message_record.h"

namespace vocapost {
namespace {

void Warn(MessageOperations& messages, const QString& text) {
  QString title = kWarning;
  messages.ShowMessage(text, 0, title);
}

void ShowLoading(MessageOperations& messages) {
  QString title = kDefaultMessageTitle;
  messages.ShowMessageForm("Loading...", 0, title);
}

}  // namespace

QString CannotPlayLaunchText(const QString& name) {
  MessageReader probe;
  if (probe.Open(name))
    return UserText("The message %1 cannot be played.").arg(name);
  return UserText("The message %1 cannot be played (%2).")
      .arg(name, probe.error());
}

bool IsPackageLaunch(const QString& command_line) {
  return command_line.toUpper().endsWith(kPackageLaunchEnding);
}

QString CommandLineFromArguments(const QStringList& arguments) {
  const QString line = arguments.join(' ');
  const QFileInfo named(TrimBlanks(line));
  if (!TrimBlanks(line).isEmpty() && named.isRelative() && named.isFile()) {
    return named.absoluteFilePath();
  }
  return line;
}

void ReadCommandLine(const QString& raw, LaunchState& launch,
                     MessageOperations& messages, Clock& clock) {
  launch.command_line = TrimBlanks(raw);
  launch.started_from_setup = 0;
  if (launch.command_line != kSetupLaunch) return;
  launch.command_line.clear();
  launch.started_from_setup = 1;
  ShowLoading(messages);
  WaitWithEvents(clock, kSetupNoticeSeconds, [] { return false; });
}

QString FindPackage(const QString& dir) {
  // In name order, so that the choice does not depend on the file system.
  const QStringList names = QDir(dir).entryList(QDir::Files, QDir::Name);
  for (const QString& name : names) {
    if (name.startsWith("voca-MSG", Qt::CaseInsensitive) &&
        name.endsWith(".exe", Qt::CaseInsensitive)) {
      return name;
    }
  }
  return {};
}

Selection SelectPlayFile(LaunchState& launch, MessageOperations& messages,
                         const QString& temp_dir) {
  const QString& line = launch.command_line;
  if (line.isEmpty()) return Selection::kContinue;
  const bool package = IsPackageLaunch(line);
  // Only a plain file counts: a folder or a missing name is no command line.
  if (!QFileInfo(line).isFile() && !package) return Selection::kContinue;
  if (!package && !line.toUpper().endsWith(".VRC")) {
    Warn(messages,
         UserText("Incorrect file type selected.  Cannot be played."));
    return Selection::kEnd;
  }
  if (package) {
    ShowLoading(messages);
    const QString found = FindPackage(temp_dir);
    if (found.isEmpty()) {
      Warn(messages,
           UserText("There does not appear to be a file to be played."));
      return Selection::kEnd;
    }
    const Extraction taken =
        ExtractMessage(QDir(temp_dir).filePath(found.trimmed()));
    if (taken.name.isEmpty()) {
      Warn(messages, ExtractionFailureText(taken));
      return Selection::kEnd;
    }
    launch.play_file_name = taken.name;
  } else {
    launch.play_file_name = line;
  }
  WriteMarker(kBusyMarker);
  return Selection::kContinue;
}

}  // namespace vocapost
