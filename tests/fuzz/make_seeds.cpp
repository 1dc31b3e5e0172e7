// Writes the fuzz targets' first inputs, made by the program's own writers
// and codecs: make_seeds OUTPUT_DIR gives one folder per target.
#include <QFileInfo>
#include <cmath>

#include "fuzz_support.h"
#include "message/message_package.h"
#include "message/message_writer.h"
#include "messages/language_file.h"
#include "platform/codec/vp8_codec.h"
#include "platform/wave/gsm_codec.h"
#include "support/frame_record.h"

namespace vocapost::fuzz {
namespace {

// A frame record as the codec writes it, of a picture that moves from frame
// to frame; frame 0 is a key frame.
QByteArray Frame(Vp8Encoder& encoder, int frame) {
  std::vector<uint8_t> picture(160 * 120 * 3);
  for (size_t i = 0; i < picture.size(); ++i)
    picture[i] = static_cast<uint8_t>(i * 7 / 3 + frame * 11);
  bool key = false;
  const QByteArray vp8 =
      encoder.Encode(picture.data(), frame == 0, false, &key);
  return testing::SmsvFrameRecord(160, 120, vp8, key);
}

QByteArray GsmRecord(int blocks) {
  std::vector<int16_t> tone(static_cast<size_t>(blocks) * kGsmBlockSamples);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<int16_t>(8000 * std::sin(i * 0.15));
  return GsmEncoder().Encode(tone.data(), tone.size());
}

// A package of the message's start under `name`, one of the names the
// package target plants in its home.
QByteArray Package(const QString& name, const QByteArray& message) {
  class QuietUi final : public PackageUi {
    void ShowPackageMessage(const QString&) override {}
    void ShowPackage(const QString&) override {}
  } ui;
  WriteBytes(name, message.left(1500));
  Check(BuildPackageFrom("vocap.exe", name, QDir::currentPath(), ui) > 0,
        "cannot build a package");
  return ReadBytes(PackageName(name));
}

}  // namespace
}  // namespace vocapost::fuzz

int main(int argc, char** argv) {
  using namespace vocapost::fuzz;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds OUTPUT_DIR\n");
    return 2;
  }
  // Named before the fuzz home becomes the current directory.
  const QDir out(
      QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
  const InHome in_home;
  Vp8Encoder encoder(160, 120, 160 * 120 * 3 / 25);
  const QByteArray key = Frame(encoder, 0), diff = Frame(encoder, 1);
  // The VP8 key frame's declared size, behind the 3-byte tag and start code.
  QByteArray too_large = key;
  qToLittleEndian<quint16>(16383, too_large.data() + kFrameHeaderBytes + 6);
  MessageWriter writer;
  Check(writer.BeginFile("seed.vrc"), "cannot begin a message");
  for (const QByteArray& frame : {key, diff}) {
    writer.AppendAudio(GsmRecord(17));
    writer.AppendVideo(frame);
  }
  Check(writer.Finish(), "cannot finish a message");
  const QByteArray message = ReadBytes("seed.vrc");
  WriteBytes("vocap.exe", QByteArray(kSmallestStub, '\0'));
  const QByteArray header =
      (kPackageMarker + "../up.vrc" + QByteArray(kPackageBlock, ' '))
          .left(kPackageBlock);
  const QByteArrayList lines = {"Player failed to start",
                                "Le lecteur ne d\xc3\xa9marre pas", "\x1a"};
  QByteArray plain(1, '\0'), transformed("\x02");
  for (const QByteArray& line : lines) {
    plain += line + "\r\n";
    transformed += TransformLine(line) + "\r\n";
  }
  const std::pair<QString, QByteArray> seeds[] = {
      {"frame_decode/key_then_difference", Piece(key) + Piece(diff)},
      {"frame_decode/vp8_size_too_large", Piece(too_large) + Piece(diff)},
      {"message_reader/audio_and_frames", message},
      {"message_reader/cut_inside_a_record", message.chopped(100)},
      {"package_extract/link.vrc.exe", Package("link.vrc", message)},
      {"package_extract/dirlink.vrc.exe", Package("dirlink.vrc", message)},
      {"package_extract/new.vrc.exe", Package("new.vrc", message)},
      {"package_extract/name_with_folder",
       QByteArray(kPackageBlock, '\0') + header + "x"},
      {"gsm_decode/two_records",
       Piece(GsmRecord(17)) + Piece(GsmRecord(40).left(2000))},
      {"language_file/pairs", plain},
      {"language_file/transformed", transformed},
  };
  for (const auto& [name, bytes] : seeds) {
    Check(out.mkpath(QFileInfo(name).path()), "cannot make a seed folder");
    WriteBytes(out.filePath(name), bytes);
  }
  return 0;
}
