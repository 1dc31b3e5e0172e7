// vocapost-msg: look into, build, unpack and export Vocapost message files.
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <string>

#include "app/standard_options.h"
#include "msg_commands.h"
#include "platform/home/program_home.h"
#include "thumbnail_command.h"

namespace {

constexpr char kCommands[] =
    "usage: vocapost-msg info FILE.vrc\n"
    "       vocapost-msg package FILE.vrc   (writes voca-MSG*.exe here)\n"
    "       vocapost-msg extract PACKAGE    (writes its message here)\n"
    "       vocapost-msg export FILE.vrc OUT.webm\n"
    "       vocapost-msg thumbnail FILE.vrc OUT.png SIZE\n"
    "                                       (draws the first picture)\n";

constexpr char kOptions[] =
    "\n"
    "  --help     show this help and end\n"
    "  --version  show the version and end\n"
    "See vocapost-msg(1).\n";

int Usage(QTextStream& err) {
  err << kCommands << Qt::flush;
  return vocapost::tool::kUsage;
}

// The stub the program itself would use: the program folder's, else the
// shipped one.
QString StubPath() {
  const auto home = vocapost::ResolveProgramHome() / "vocap.exe";
  if (std::filesystem::is_regular_file(home))
    return QString::fromStdString(home);
  return QString::fromStdString(vocapost::ShippedDataDir() / "vocap.exe");
}

}  // namespace

int main(int argc, char** argv) {
  if (vocapost::AnswerStandardOption(argc, argv, "vocapost-msg",
                                     std::string(kCommands) + kOptions)) {
    return 0;
  }
  QCoreApplication app(argc, argv);
  QTextStream out(stdout), err(stderr);
  const QStringList args = QCoreApplication::arguments().mid(1);
  if (args.size() == 3 && args[0] == "export") {
    return vocapost::tool::Export(args[1], args[2], out, err);
  }
  if (!args.isEmpty() && args[0] == "thumbnail")
    return vocapost::tool::ThumbnailCommand(args.mid(1), err);
  if (args.size() != 2) return Usage(err);
  const QString& command = args[0];
  if (command == "info") return vocapost::tool::Info(args[1], out, err);
  if (command == "package") {
    return vocapost::tool::Package(args[1], StubPath(), out, err);
  }
  if (command == "extract") return vocapost::tool::Extract(args[1], out, err);
  return Usage(err);
}
