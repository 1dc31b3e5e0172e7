// Vocapost installed as a system would have it: staged with DESTDIR and run
// from there, not from the build.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/wave/gsm_codec.h"
#include "platform/wave/wav_file.h"
#include "support/run_process.h"
#include "support/sample_message.h"
#include "support/temp_home.h"

namespace vocapost {
namespace {
namespace fs = std::filesystem;

QString Str(const fs::path& path) { return QString::fromStdString(path); }

using InstalledTest = testing::HomeTest;

// Without a display the programs answer --help and --version. A fresh home
// gets the installed files (the build tree's settings script differs: it
// names the build's settings program) and plays the message's sound whole.
// File managers run the thumbnailer from PATH, with no program home: a
// sound-only message shows the installed no-video picture.
TEST_F(InstalledTest, InstalledProgramsRunAndTheThumbnailerMakesItsPicture) {
  const fs::path stage = temp_.root() / "stage";
  const fs::path prefix =
      stage / fs::path(VOCAPOST_INSTALL_PREFIX).relative_path();
  const fs::path share = prefix / "share";
  const auto bin = [&](const char* name) { return Str(prefix / "bin" / name); };
  // The test's program home and config folder.
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  const auto run_program = [&](const QString& program,
                               const QStringList& args) {
    return testing::RunProcess(program, args, Str(temp_.root()), env);
  };
  env.insert("DESTDIR", Str(stage));
  const testing::ProcessResult installed =
      run_program(VOCAPOST_CMAKE, {"--install", VOCAPOST_BUILD_DIR});
  ASSERT_EQ(installed.code, 0) << installed.err.toStdString();
  for (const char* name :
       {"DESTDIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    env.remove(name);
  for (const char* program : {"vocapost", "vocapost-msg", "vocapost-setmail"}) {
    SCOPED_TRACE(program);
    const testing::ProcessResult help = run_program(bin(program), {"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.toLower().startsWith(QByteArray("usage: ") + program))
        << help.out.toStdString();
    const testing::ProcessResult version =
        run_program(bin(program), {"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, QByteArray(program) + " " VOCAPOST_VERSION "\n");
    EXPECT_EQ(help.err + version.err, "");
  }

  env.insert("XDG_RUNTIME_DIR", Str(temp_.root()));  // the user's own, 0700
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
  env.insert("VOCAPOST_MESSAGE_LOG", Str(temp_.root() / "messages.log"));
  env.insert("VOCAPOST_WINDOW_LOG", Str(temp_.root() / "windows.log"));
  env.insert("VOCAPOST_AUDIO", "test-tone");
  env.insert("VOCAPOST_AUDIO_OUT", "wav:" + Str(temp_.root() / "played.wav"));
  env.insert("VOCAPOST_CAPTURE", "test-pattern");
  const QString message = Str(temp_.root() / "05143012.vrc");
  testing::WriteSampleMessage(message, {});
  const testing::ProcessResult run = run_program(bin("vocapost"), {message});
  EXPECT_EQ(run.code, 0) << run.err.toStdString();
  EXPECT_EQ(temp_.ReadFile(temp_.root() / "messages.log"), "");
  EXPECT_EQ(temp_.ReadFile(temp_.root() / "windows.log"),
            "shown\tViewer\nhidden\tViewer\n");
  EXPECT_FALSE(fs::exists(temp_.home() / "popplay.txt"));
  // The decoded message, from its first sound on, is played whole.
  const std::vector<int16_t> tone = testing::Tone(440, 5440 * 3);
  const QByteArray coded = GsmEncoder().Encode(tone.data(), tone.size());
  const std::vector<int16_t> sound = GsmDecoder().Decode(
      reinterpret_cast<const uint8_t*>(coded.constData()), coded.size());
  const auto first = std::ranges::find_if(sound, [](int16_t s) { return s; });
  const auto played = ReadWavSamples(Str(temp_.root() / "played.wav"));
  ASSERT_TRUE(played.has_value());
  EXPECT_FALSE(
      std::ranges::search(*played, std::ranges::subrange(first, sound.end()))
          .empty());
  int copied = 0;
  for (const auto& shipped : fs::directory_iterator(share / "vocapost")) {
    EXPECT_EQ(temp_.ReadFile(shipped.path().filename()),
              temp_.ReadFile(shipped.path()))
        << shipped.path().filename();
    ++copied;
  }
  EXPECT_GE(copied, 4);

  const QByteArray entry =
      temp_.ReadFile(share / "thumbnailers/vocapost.thumbnailer");
  EXPECT_TRUE(entry.contains("\nExec=vocapost-msg thumbnail %i %o %s\n"))
      << entry.toStdString();
  const QString png = Str(temp_.root() / "thumbnail.png");
  env.remove("VOCAPOST_HOME");
  const testing::ProcessResult made =
      run_program(bin("vocapost-msg"), {"thumbnail", message, png, "128"});
  ASSERT_EQ(made.code, 0) << made.err.toStdString();
  const QImage no_video(Str(share / "vocapost/firsview.bmp"));
  ASSERT_FALSE(no_video.isNull());
  const QImage thumbnail(png);
  EXPECT_EQ(thumbnail.size(), QSize(128, 96));
  for (int q = 0; q < 4; ++q) {
    EXPECT_TRUE(testing::Near(testing::QuadrantColour(thumbnail, q),
                              testing::QuadrantColour(no_video, q)));
  }

  // A file of an option's name is what the user means: it is not a message.
  temp_.WriteFile(temp_.root() / "--help", "not a message");
  EXPECT_EQ(run_program(bin("vocapost"), {"--help"}).out, "");
  EXPECT_EQ(temp_.ReadFile(temp_.root() / "messages.log"),
            "Warning\tIncorrect file type selected.  Cannot be played.\n");
}

}  // namespace
}  // namespace vocapost
