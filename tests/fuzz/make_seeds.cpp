// Writes the fuzz targets' first inputs, made by the program's own writers
// and codecs: make_seeds OUTPUT_DIR gives one folder per target.
#include <QFileInfo>

#include "fuzz_support.h"
#include "message/message_writer.h"
#include "messages/language_file.h"
#include "platform/codec/vp8_codec.h"
#include "support/frame_record.h"
#include "support/package_ui.h"
#include "support/pictures.h"
#include "support/tone.h"

int main(int argc, char** argv) {
  using namespace vocapost::fuzz;
  Check(argc == 2, "usage: make_seeds OUTPUT_DIR");
  // Named before the fuzz home becomes the current directory.
  const QDir out(QFileInfo(argv[1]).absoluteFilePath());
  const InHome in_home;
  // Frame records of the moving test pattern: a key frame, then a difference.
  Vp8Encoder encoder(160, 120, 160 * 120 * 3 / 25);
  QByteArrayList frames;
  for (int frame = 0; frame < 2; ++frame) {
    bool key = false;
    const QByteArray vp8 =
        encoder.Encode(testing::PatternPicture(160, 120, frame).data(),
                       frame == 0, false, &key);
    frames << testing::SmsvFrameRecord(160, 120, vp8, key);
  }
  // The VP8 key frame's declared size, behind the 3-byte tag and start code.
  QByteArray too_large = frames[0];
  qToLittleEndian<quint16>(16383, too_large.data() + kFrameHeaderBytes + 6);
  const std::vector<int16_t> tone = testing::Tone(190, 40 * kGsmBlockSamples);
  const QByteArray sound = GsmEncoder().Encode(tone.data(), tone.size());
  MessageWriter writer;
  Check(writer.BeginFile("seed.vrc"), "cannot begin a message");
  for (const QByteArray& frame : frames) {
    writer.AppendAudio(sound.left(17 * kGsmBlockBytes));
    writer.AppendVideo(frame);
  }
  Check(writer.Finish(), "cannot finish a message");
  const QByteArray message = ReadBytes("seed.vrc");
  // Packages of the message's start under the names the package target
  // plants in its home.
  WriteBytes("vocap.exe", QByteArray(kSmallestStub, '\0'));
  testing::RecordingPackageUi ui;
  const auto package = [&](const QString& name) {
    WriteBytes(name, message.left(1500));
    Check(BuildPackageFrom("vocap.exe", name, QDir::currentPath(), ui) > 0,
          "cannot build a package");
    return ReadBytes(PackageName(name));
  };
  const QByteArray header =
      (kPackageMarker + "../up.vrc").leftJustified(kPackageBlock);
  QByteArray plain(1, '\0'), transformed("\x02");
  for (const QByteArray& line :
       {"Player failed to start", "Le lecteur ne d\xc3\xa9marre pas", "\x1a"}) {
    plain += line + "\r\n";
    transformed += TransformLine(line) + "\r\n";
  }
  const std::pair<QString, QByteArray> seeds[] = {
      {"frame_decode/key_then_difference", Piece(frames[0]) + Piece(frames[1])},
      {"frame_decode/vp8_size_too_large", Piece(too_large) + Piece(frames[1])},
      {"message_reader/audio_and_frames", message},
      {"message_reader/cut_inside_a_record", message.chopped(100)},
      {"package_extract/link.vrc.exe", package("link.vrc")},
      {"package_extract/dirlink.vrc.exe", package("dirlink.vrc")},
      {"package_extract/new.vrc.exe", package("new.vrc")},
      {"package_extract/name_with_folder",
       QByteArray(kPackageBlock, '\0') + header + "x"},
      {"language_file/pairs", plain},
      {"language_file/transformed", transformed},
  };
  for (const auto& [name, bytes] : seeds) {
    Check(out.mkpath(QFileInfo(name).path()), "cannot make a seed folder");
    WriteBytes(out.filePath(name), bytes);
  }
  return 0;
}
