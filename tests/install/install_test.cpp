// Vocapost installed as a system would have it: staged with DESTDIR, looked
// at with the desktop's own tools and run from there, not from the build.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include "support/sample_message.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;
using testing::Near;
using testing::QuadrantColour;
using testing::QuadrantPicture;

constexpr char kMessageType[] = "application/x-vocapost-message";
constexpr char kDesktopEntry[] = "org.vocapost.Vocapost.desktop";
const std::array<QColor, 4> kColours = {Qt::red, Qt::green, Qt::blue,
                                        Qt::white};

struct Result {
  int code = -1;
  QByteArray out, err;
};

QString Str(const fs::path& path) { return QString::fromStdString(path); }

QByteArray ReadAll(const fs::path& path) {
  QFile file(Str(path));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The value of `key` in a desktop entry style file (one group).
QString EntryValue(const fs::path& path, const QByteArray& key) {
  for (const QByteArray& line : ReadAll(path).split('\n')) {
    if (line.startsWith(key + "=")) return line.mid(key.size() + 1);
  }
  return {};
}

class InstalledTest : public testing::HomeTest {
 protected:
  void SetUp() override {
    stage_ = temp_.root() / "stage";
    prefix_ = stage_ / fs::path(VOCAPOST_INSTALL_PREFIX).relative_path();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", Str(stage_));
    const Result install =
        Run(VOCAPOST_CMAKE, {"--install", VOCAPOST_BUILD_DIR}, env);
    ASSERT_EQ(install.code, 0) << install.err.toStdString();
  }

  static Result Run(const QString& program, const QStringList& args,
                    const QProcessEnvironment& env, const fs::path& cwd = {}) {
    QProcess process;
    process.setProcessEnvironment(env);
    if (!cwd.empty()) process.setWorkingDirectory(Str(cwd));
    process.start(program, args);
    Result result;
    if (!process.waitForStarted(10000)) {
      result.err =
          (program + " cannot be started (scripts/setup installs it)").toUtf8();
      return result;
    }
    if (!process.waitForFinished(30000)) process.kill();
    process.waitForFinished(5000);
    result.code =
        process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
  }

  fs::path Share() const { return prefix_ / "share"; }
  QString Bin(const char* program) const {
    return Str(prefix_ / "bin" / program);
  }

  // Only the staged tree and the system's base types: no user settings.
  QProcessEnvironment DesktopEnvironment() const {
    QProcessEnvironment env;
    env.insert("PATH", Str(prefix_ / "bin") + ":/usr/bin:/bin");
    env.insert("HOME", Str(temp_.root()));
    env.insert("LANG", "C.UTF-8");
    env.insert("XDG_DATA_HOME", Str(Share()));
    env.insert("XDG_DATA_DIRS", Str(Share()) + ":/usr/share");
    env.insert("XDG_CONFIG_HOME", Str(temp_.root() / "config"));
    env.insert("XDG_CONFIG_DIRS", Str(temp_.root() / "no-system-config"));
    // A sanitizer build's programs keep their settings and suppressions.
    const QProcessEnvironment outer = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
      if (outer.contains(name)) env.insert(name, outer.value(name));
    }
    return env;
  }

  // The databases that the packaging system's triggers keep.
  void UpdateDatabases() {
    const auto env = DesktopEnvironment();
    const Result mime =
        Run("update-mime-database", {Str(Share() / "mime")}, env);
    ASSERT_EQ(mime.code, 0) << mime.err.toStdString();
    const Result apps =
        Run("update-desktop-database", {Str(Share() / "applications")}, env);
    ASSERT_EQ(apps.code, 0) << apps.err.toStdString();
  }

  QString WriteMessage(const char* name, const std::vector<QImage>& pictures) {
    const QString path = Str(temp_.root() / name);
    testing::WriteSampleMessage(path, pictures);
    return path;
  }

  fs::path stage_, prefix_;
};

TEST_F(InstalledTest, EverythingIsInPlaceAndPassesTheDesktopValidators) {
  // The shipped data, whatever data/ holds, as the build tree has it.
  const fs::path data = VOCAPOST_DATA_DIR;
  for (const auto& entry : fs::recursive_directory_iterator(data)) {
    if (!entry.is_regular_file()) continue;
    const fs::path relative = fs::relative(entry.path(), data);
    EXPECT_TRUE(fs::is_regular_file(Share() / "vocapost" / relative))
        << relative;
  }
  const auto env = DesktopEnvironment();
  const fs::path desktop = Share() / "applications" / kDesktopEntry;
  const Result entry = Run("desktop-file-validate", {Str(desktop)}, env);
  EXPECT_EQ(entry.code, 0);
  EXPECT_EQ(entry.out + entry.err, "");
  const Result metainfo =
      Run("appstreamcli",
          {"validate", "--no-net",
           Str(Share() / "metainfo" / "org.vocapost.Vocapost.metainfo.xml")},
          env);
  EXPECT_EQ(metainfo.code, 0) << metainfo.out.toStdString();

  // Each icon the entry and the file type name, at every size, truly of
  // that size.
  const QString icon = EntryValue(desktop, "Icon");
  int pngs = 0;
  for (const QString& name :
       {icon, QString("application-x-vocapost-message")}) {
    QDirIterator it(Str(Share() / "icons/hicolor"), {name + ".*"}, QDir::Files,
                    QDirIterator::Subdirectories);
    int svgs = 0;
    while (it.hasNext()) {
      const QFileInfo file(it.next());
      QDir size_dir = file.dir();  // <size>/<context>/<name>
      size_dir.cdUp();
      const QString size = size_dir.dirName();
      if (file.suffix() == "svg") {
        EXPECT_EQ(size, "scalable");
        ++svgs;
        continue;
      }
      const QImage png(file.filePath());
      EXPECT_EQ(QString("%1x%2").arg(png.width()).arg(png.height()), size)
          << file.filePath().toStdString();
      ++pngs;
    }
    EXPECT_EQ(svgs, 1) << name.toStdString();
  }
  EXPECT_GE(pngs, 2 * 6) << "PNG icons from 16x16 to 256x256";

  for (const char* page : {"vocapost", "vocapost-msg", "vocapost-setmail"}) {
    const fs::path file = Share() / "man/man1" / (std::string(page) + ".1.gz");
    QProcessEnvironment man = env;
    man.insert("MANROFFSEQ", "");
    man.insert("MANWIDTH", "80");
    const Result shown = Run("man", {"--warnings", "-l", Str(file)}, man);
    EXPECT_EQ(shown.code, 0) << page;
    EXPECT_TRUE(shown.out.contains(page)) << page;
    EXPECT_EQ(shown.err, "") << page;
  }
}

TEST_F(InstalledTest, DesktopKnowsMessagesByNameAndByContent) {
  UpdateDatabases();
  const QString message =
      WriteMessage("05143012.vrc", {QuadrantPicture(160, 120, kColours)});
  QFile::copy(message, Str(temp_.root() / "from-mail"));
  temp_.WriteFile(temp_.root() / "letter", "WAVE goodbye to the old\n");
  struct Case {
    const char* file;
    bool ours;
  };
  const auto env = DesktopEnvironment();
  for (const Case& c : {Case{"05143012.vrc", true}, Case{"from-mail", true},
                        Case{"letter", false}}) {
    const Result type =
        Run("xdg-mime", {"query", "filetype", Str(temp_.root() / c.file)}, env);
    EXPECT_EQ(type.code, 0) << c.file;
    EXPECT_EQ(type.out.trimmed() == kMessageType, c.ours)
        << c.file << " is " << type.out.toStdString();
  }
  const Result opener =
      Run("xdg-mime", {"query", "default", kMessageType}, env);
  EXPECT_EQ(QString(opener.out.trimmed()), kDesktopEntry);
}

TEST_F(InstalledTest, InstalledProgramSetsUpAFreshHomeAndPlaysAMessage) {
  const QString message =
      WriteMessage("05143012.vrc", {QuadrantPicture(160, 120, kColours)});
  const fs::path home = temp_.root() / "fresh-home";
  fs::create_directories(temp_.root() / "runtime");
  fs::permissions(temp_.root() / "runtime", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VOCAPOST_HOME", Str(home));
  env.insert("XDG_CONFIG_HOME", Str(temp_.root() / "config"));
  env.insert("XDG_RUNTIME_DIR", Str(temp_.root() / "runtime"));
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
  env.insert("VOCAPOST_MESSAGE_LOG", Str(temp_.root() / "messages.log"));
  env.insert("VOCAPOST_WINDOW_LOG", Str(temp_.root() / "windows.log"));
  env.insert("VOCAPOST_AUDIO", "test-tone");
  env.insert("VOCAPOST_AUDIO_OUT", "wav:" + Str(temp_.root() / "played.wav"));
  env.insert("VOCAPOST_CAPTURE", "test-pattern");
  const Result run = Run(Bin("vocapost"), {message}, env, temp_.root());
  EXPECT_EQ(run.code, 0) << run.err.toStdString();
  EXPECT_EQ(ReadAll(temp_.root() / "messages.log"), "");
  EXPECT_TRUE(
      ReadAll(temp_.root() / "windows.log").contains("shown\tViewer\n"));
  // The home's files are the installed ones (the build tree's settings
  // script differs: it names the build's settings program).
  int copied = 0;
  for (const auto& shipped : fs::directory_iterator(Share() / "vocapost")) {
    EXPECT_EQ(ReadAll(home / shipped.path().filename()),
              ReadAll(shipped.path()))
        << shipped.path().filename();
    ++copied;
  }
  EXPECT_GE(copied, 4);
}

TEST_F(InstalledTest, ProgramsAnswerHelpAndVersionWithoutADisplay) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    env.remove(name);
  for (const char* program : {"vocapost", "vocapost-msg", "vocapost-setmail"}) {
    SCOPED_TRACE(program);
    const Result help = Run(Bin(program), {"--help"}, env, temp_.root());
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.toLower().startsWith(QByteArray("usage: ") + program))
        << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--version"));
    const Result version = Run(Bin(program), {"--version"}, env, temp_.root());
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QByteArray(program) + " " VOCAPOST_VERSION "\n");
    EXPECT_EQ(help.err + version.err, "");
  }
  // A file of that name is what the user means: it is not a message.
  temp_.WriteFile(temp_.root() / "--help", "not a message");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
  env.insert("VOCAPOST_MESSAGE_LOG", Str(temp_.root() / "messages.log"));
  env.insert("XDG_RUNTIME_DIR", Str(temp_.root()));
  const Result file = Run(Bin("vocapost"), {"--help"}, env, temp_.root());
  EXPECT_EQ(file.out, "");
  EXPECT_EQ(ReadAll(temp_.root() / "messages.log"),
            "Warning\tIncorrect file type selected.  Cannot be played.\n");
}

TEST_F(InstalledTest, ThumbnailerEntryDrawsMessagesForFileManagers) {
  const fs::path entry = Share() / "thumbnailers/vocapost.thumbnailer";
  EXPECT_EQ(EntryValue(entry, "MimeType"), QString(kMessageType) + ";");
  QStringList exec = EntryValue(entry, "Exec").split(' ', Qt::SkipEmptyParts);
  ASSERT_FALSE(exec.isEmpty());
  // As file managers run it: found on PATH, no program home of its own.
  const QString program =
      QStandardPaths::findExecutable(exec.takeFirst(), {Str(prefix_ / "bin")});
  ASSERT_FALSE(program.isEmpty());
  QProcessEnvironment env = DesktopEnvironment();
  env.insert("HOME", Str(temp_.root() / "nobody"));
  const QImage no_video(Str(Share() / "vocapost/firsview.bmp"));
  ASSERT_FALSE(no_video.isNull());
  // A sound-only message shows the installed no-video picture.
  const QString png = Str(temp_.root() / "thumbnail.png");
  QStringList args = exec;
  args.replaceInStrings("%i", WriteMessage("sound.vrc", {}));
  args.replaceInStrings("%o", png);
  args.replaceInStrings("%s", "128");
  const Result made = Run(program, args, env);
  ASSERT_EQ(made.code, 0) << made.err.toStdString();
  const QImage thumbnail(png);
  EXPECT_EQ(thumbnail.size(), QSize(128, 96));
  for (int q = 0; q < 4; ++q)
    EXPECT_TRUE(
        Near(QuadrantColour(thumbnail, q), QuadrantColour(no_video, q)));
}

}  // namespace
}  // namespace vocapost
