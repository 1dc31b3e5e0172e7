#include "platform/mail/mail_programs.h"

#include <QFileInfo>
#include <QUrl>
#include <array>
#include <utility>

namespace vocapost {
namespace {

// The program a command runs; for `flatpak run` the command or the
// application it names.
QString ProgramName(const QStringList& command) {
  if (command.isEmpty()) return {};
  const QString program = QFileInfo(command.front()).fileName();
  if (program != "flatpak") return program;
  QString application;
  for (const QString& word : command.mid(1)) {
    if (word.startsWith("--command=")) return word.mid(10);
    if (!word.startsWith('-') && word != "run" && application.isEmpty()) {
      application = word;
    }
  }
  return application;
}

// A file URL with the characters that end a -compose field encoded.
QString ThunderbirdFileUrl(const QString& path) {
  QString url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
  url.replace(",", "%2C").replace("'", "%27");
  return url;
}

QString Encoded(const QString& text) {
  return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

}  // namespace

MailProgram RecogniseMailProgram(const QString& desktop_id,
                                 const QStringList& command) {
  static const std::array<std::pair<const char*, MailProgram>, 8> kNames = {{
      {"thunderbird", MailProgram::kThunderbird},
      {"icedove", MailProgram::kThunderbird},
      {"betterbird", MailProgram::kThunderbird},
      {"evolution", MailProgram::kEvolution},
      {"kmail", MailProgram::kKMail},
      {"claws-mail", MailProgram::kClaws},
      {"sylpheed", MailProgram::kSylpheed},
      {"geary", MailProgram::kGeary},
  }};
  const QString program = ProgramName(command).toLower();
  const QString id = desktop_id.toLower();
  for (const auto& [name, kind] : kNames) {
    if (program.contains(QLatin1String(name))) return kind;
  }
  for (const auto& [name, kind] : kNames) {
    if (id.contains(QLatin1String(name))) return kind;
  }
  return MailProgram::kUnknown;
}

QStringList ComposeArguments(MailProgram program, const ComposeRequest& request,
                             const QString& body_file) {
  const QString& path = request.attachment;
  switch (program) {
    case MailProgram::kThunderbird:
      // Thunderbird 153.8.0esr: -compose takes comma-separated fields;
      // message= reads the body from a file as it stands, so no character
      // of the notice can end a field.
      return {"-compose", "attachment='" + ThunderbirdFileUrl(path) +
                              "',message='" + body_file + "'"};
    case MailProgram::kKMail:
      // KMail 5 and later (the options of its kmail_options.h): --attach
      // takes a URL, --body the text.
      return {"--composer", "--attach", QUrl::fromLocalFile(path).toString(),
              "--body", request.body};
    case MailProgram::kEvolution:
      // Evolution 3.46: a mailto URL whose attach= (or attachment=) holds a
      // path or file URL; all values are percent-decoded once.
    case MailProgram::kGeary:
      // Geary 40 to 43: the same mailto fields, attach= and body=.
      return {"mailto:?attach=" + Encoded(path) +
              "&body=" + Encoded(request.body)};
    case MailProgram::kClaws:
      // Claws Mail 4.1 manual page: --compose [address] takes a mailto URL
      // too, --attach the files.
    case MailProgram::kSylpheed:
      // Sylpheed 3.7 manual page: the same two options.
      return {"--compose", "mailto:?body=" + Encoded(request.body), "--attach",
              path};
    case MailProgram::kUnknown:
      break;
  }
  return {};
}

}  // namespace vocapost
