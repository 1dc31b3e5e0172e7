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

constexpr char kMessageType[] = "application/x-vocapost-message";

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
    const fs::path stage = temp_.root() / "stage";
    prefix_ = stage / fs::path(VOCAPOST_INSTALL_PREFIX).relative_path();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", Str(stage));
    const Result install =
        Run(VOCAPOST_CMAKE, {"--install", VOCAPOST_BUILD_DIR}, env);
    ASSERT_EQ(install.code, 0) << install.err.toStdString();
  }

  Result Run(const QString& program, const QStringList& args,
             const QProcessEnvironment& env) const {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(Str(temp_.root()));
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

  fs::path prefix_;
};

TEST_F(InstalledTest, TheStagedTreeIsCompleteValidAndKnownToTheDesktop) {
  // The shipped data, whatever data/ holds, as the build tree has it.
  const fs::path data = VOCAPOST_DATA_DIR;
  for (const auto& entry : fs::recursive_directory_iterator(data)) {
    const fs::path relative = fs::relative(entry.path(), data);
    EXPECT_EQ(fs::is_regular_file(Share() / "vocapost" / relative),
              entry.is_regular_file())
        << relative;
  }
  const auto env = DesktopEnvironment();
  const fs::path desktop = Share() / "applications/org.vocapost.Vocapost.desktop";
  const Result entry = Run("desktop-file-validate", {Str(desktop)}, env);
  EXPECT_EQ(entry.code, 0);
  EXPECT_EQ(entry.out + entry.err, "");
  const Result metainfo = Run(
      "appstreamcli",
      {"validate", "--no-net",
       Str(Share() / "metainfo/org.vocapost.Vocapost.metainfo.xml")},
      env);
  EXPECT_EQ(metainfo.code, 0) << metainfo.out.toStdString();

  // The entry's and the file type's icons, each PNG truly of its folder's
  // size (<size>/<context>/<name>), one SVG each.
  int pngs = 0, svgs = 0;
  QDirIterator icons(
      Str(Share() / "icons/hicolor"),
      {EntryValue(desktop, "Icon") + ".*", "application-x-vocapost-message.*"},
      QDir::Files, QDirIterator::Subdirectories);
  while (icons.hasNext()) {
    const QFileInfo file(icons.next());
    const QString size = file.path().section('/', -2, -2);
    const QImage png(file.filePath());
    EXPECT_EQ(file.suffix() == "svg"
                  ? "scalable"
                  : QString("%1x%2").arg(png.width()).arg(png.height()),
              size)
        << file.filePath().toStdString();
    ++(file.suffix() == "svg" ? svgs : pngs);
  }
  EXPECT_EQ(svgs, 2);
  EXPECT_GE(pngs, 2 * 6) << "PNG icons from 16x16 to 256x256";

  QProcessEnvironment man = env;
  man.insert("MANROFFSEQ", "");
  man.insert("MANWIDTH", "80");
  for (const char* page : {"vocapost", "vocapost-msg", "vocapost-setmail"}) {
    const Result shown = Run(
        "man", {"--warnings", "-l", Str(Share() / "man/man1" / page) + ".1.gz"},
        man);
    EXPECT_EQ(shown.code, 0) << page;
    EXPECT_TRUE(shown.out.contains(page)) << page;
    EXPECT_EQ(shown.err, "") << page;
  }

  // Messages known by name and by content, and opened by the program, once
  // the packaging system's triggers have updated the databases.
  for (const auto& [program, folder] :
       {std::pair{"update-mime-database", "mime"},
        std::pair{"update-desktop-database", "applications"}}) {
    const Result update = Run(program, {Str(Share() / folder)}, env);
    ASSERT_EQ(update.code, 0) << update.err.toStdString();
  }
  const QString message = Str(temp_.root() / "05143012.vrc");
  testing::WriteSampleMessage(message, {});
  QFile::copy(message, Str(temp_.root() / "mail"));
  temp_.WriteFile(temp_.root() / "letter", "WAVE goodbye to the old\n");
  for (const auto& [file, ours] : {std::pair{"05143012.vrc", true},
                                   {"mail", true}, {"letter", false}}) {
    const Result type = Run("xdg-mime", {"query", "filetype", file}, env);
    EXPECT_EQ(type.out.trimmed() == kMessageType, ours)
        << file << " is " << type.out.toStdString();
  }
  EXPECT_EQ(Run("xdg-mime", {"query", "default", kMessageType}, env).out,
            "org.vocapost.Vocapost.desktop\n");

  // File managers run the thumbnailer from PATH, with no program home: a
  // sound-only message shows the installed no-video picture.
  const fs::path thumbnailer = Share() / "thumbnailers/vocapost.thumbnailer";
  EXPECT_EQ(EntryValue(thumbnailer, "MimeType"), QString(kMessageType) + ";");
  QStringList exec =
      EntryValue(thumbnailer, "Exec").split(' ', Qt::SkipEmptyParts);
  ASSERT_FALSE(exec.isEmpty());
  const QString program =
      QStandardPaths::findExecutable(exec.takeFirst(), {Str(prefix_ / "bin")});
  QProcessEnvironment nobody = env;
  nobody.insert("HOME", Str(temp_.root() / "nobody"));
  const QString png = Str(temp_.root() / "thumbnail.png");
  exec.replaceInStrings("%i", message);
  exec.replaceInStrings("%o", png);
  exec.replaceInStrings("%s", "128");
  const Result made = Run(program, exec, nobody);
  ASSERT_EQ(made.code, 0) << made.err.toStdString();
  const QImage no_video(Str(Share() / "vocapost/firsview.bmp"));
  ASSERT_FALSE(no_video.isNull());
  const QImage thumbnail(png);
  EXPECT_EQ(thumbnail.size(), QSize(128, 96));
  for (int q = 0; q < 4; ++q) {
    EXPECT_TRUE(testing::Near(testing::QuadrantColour(thumbnail, q),
                              testing::QuadrantColour(no_video, q)));
  }
}

TEST_F(InstalledTest, InstalledProgramsAnswerWithoutADisplayAndPlay) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    env.remove(name);
  for (const char* program : {"vocapost", "vocapost-msg", "vocapost-setmail"}) {
    SCOPED_TRACE(program);
    const Result help = Run(Bin(program), {"--help"}, env);
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.toLower().startsWith(QByteArray("usage: ") + program))
        << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--version"));
    const Result version = Run(Bin(program), {"--version"}, env);
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QByteArray(program) + " " VOCAPOST_VERSION "\n");
    EXPECT_EQ(help.err + version.err, "");
  }

  // A fresh home gets the installed files (the build tree's settings script
  // differs: it names the build's settings program) and plays the message.
  const fs::path home = temp_.root() / "fresh-home";
  fs::create_directories(temp_.root() / "runtime");
  fs::permissions(temp_.root() / "runtime", fs::perms::owner_all);
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
  const QString message = Str(temp_.root() / "05143012.vrc");
  testing::WriteSampleMessage(
      message,
      {testing::QuadrantPicture(160, 120,
                                {Qt::red, Qt::green, Qt::blue, Qt::white})});
  const Result run = Run(Bin("vocapost"), {message}, env);
  EXPECT_EQ(run.code, 0) << run.err.toStdString();
  EXPECT_EQ(ReadAll(temp_.root() / "messages.log"), "");
  EXPECT_TRUE(
      ReadAll(temp_.root() / "windows.log").contains("shown\tViewer\n"));
  int copied = 0;
  for (const auto& shipped : fs::directory_iterator(Share() / "vocapost")) {
    EXPECT_EQ(ReadAll(home / shipped.path().filename()),
              ReadAll(shipped.path()))
        << shipped.path().filename();
    ++copied;
  }
  EXPECT_GE(copied, 4);

  // A file of that name is what the user means: it is not a message.
  temp_.WriteFile(temp_.root() / "--help", "not a message");
  const Result file = Run(Bin("vocapost"), {"--help"}, env);
  EXPECT_EQ(file.out, "");
  EXPECT_EQ(ReadAll(temp_.root() / "messages.log"),
            "Warning\tIncorrect file type selected.  Cannot be played.\n");
}

}  // namespace
}  // namespace vocapost
