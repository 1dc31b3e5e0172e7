// Writes the fuzz targets' first inputs, made by the program's own writers
// and codecs: make_seeds OUTPUT_DIR gives one folder per target.
#include <QtEndian>
#include <cmath>

#include "fuzz_support.h"
#include "message/message_package.h"
#include "message/message_writer.h"
#include "messages/language_file.h"
#include "platform/codec/bitmap_header.h"
#include "platform/codec/vp8_codec.h"
#include "platform/wave/gsm_codec.h"
#include "support/frame_record.h"

namespace vocapost::fuzz {
namespace {

QDir out_dir;

void Seed(const QString& target, const QString& name, const QByteArray& bytes) {
  Check(out_dir.mkpath(target), "cannot make a seed folder");
  WriteBytes(out_dir.filePath(target + "/" + name), bytes);
}

// A piece of the frame and audio targets' inputs: length, then the bytes.
QByteArray Piece(const QByteArray& bytes) {
  QByteArray length(2, '\0');
  qToLittleEndian<quint16>(static_cast<quint16>(bytes.size()), length.data());
  return length + bytes;
}

// Frame records as the codec writes them, of a picture that moves from
// frame to frame; the first is a key frame.
QByteArrayList Frames(int width, int height, int count) {
  Vp8Encoder encoder(width, height, width * height * 3 / 25);
  std::vector<uint8_t> picture(static_cast<size_t>(width) * height * 3);
  QByteArrayList records;
  for (int frame = 0; frame < count; ++frame) {
    for (size_t i = 0; i < picture.size(); ++i)
      picture[i] = static_cast<uint8_t>(i * 7 / 3 + frame * 11);
    bool key = false;
    const QByteArray vp8 =
        encoder.Encode(picture.data(), frame == 0, false, &key);
    records << testing::SmsvFrameRecord(width, height, vp8, key);
  }
  return records;
}

QByteArray GsmRecord(int blocks) {
  std::vector<int16_t> tone(static_cast<size_t>(blocks) * kGsmBlockSamples);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<int16_t>(8000 * std::sin(i * 0.15));
  return GsmEncoder().Encode(tone.data(), tone.size());
}

void FrameSeeds(const QByteArrayList& frames) {
  const QByteArray &key = frames[0], &diff = frames[1];
  Seed("frame_decode", "key_then_difference", Piece(key) + Piece(diff));
  // The VP8 key frame's declared size, behind the 3-byte tag and start code.
  QByteArray too_large = key;
  qToLittleEndian<quint16>(16383, too_large.data() + kFrameHeaderBytes + 6);
  Seed("frame_decode", "vp8_size_too_large", Piece(too_large) + Piece(diff));
}

// Messages of sound and frames, and packages of them under the names the
// package target plants in its home.
void MessageSeeds(const QByteArrayList& frames) {
  MessageWriter writer;
  Check(writer.BeginFile("seed.vrc"), "cannot begin a message");
  for (int i = 0; i < 2; ++i) {
    writer.AppendAudio(GsmRecord(17));
    writer.AppendVideo(frames[i]);
  }
  Check(writer.Finish(), "cannot finish a message");
  const QByteArray full = ReadBytes("seed.vrc");
  Seed("message_reader", "audio_and_frames", full);
  Seed("message_reader", "cut_inside_a_record", full.left(full.size() - 100));

  WriteBytes("vocap.exe", QByteArray(kSmallestStub, '\0'));
  class QuietUi final : public PackageUi {
    void ShowPackageMessage(const QString&) override {}
    void ShowPackage(const QString&) override {}
  } ui;
  for (const QString& name : {"link.vrc", "dirlink.vrc", "new.vrc"}) {
    WriteBytes(name, full.left(1500));
    Check(BuildPackageFrom("vocap.exe", name, QDir::currentPath(), ui) > 0,
          "cannot build a package");
    Seed("package_extract", name + ".exe", ReadBytes(PackageName(name)));
  }
  const QByteArray header =
      (kPackageMarker + "../up.vrc" + QByteArray(kPackageBlock, ' '))
          .left(kPackageBlock);
  Seed("package_extract", "name_with_folder",
       QByteArray(kPackageBlock, '\0') + header + "x");
}

void AudioAndTextSeeds() {
  Seed("gsm_decode", "two_records",
       Piece(GsmRecord(17)) + Piece(GsmRecord(40).left(2000)));
  const QByteArrayList lines = {"Player failed to start",
                                "Le lecteur ne d\xc3\xa9marre pas", "\x1a"};
  QByteArray plain, transformed;
  for (const QByteArray& line : lines) {
    plain += line + "\r\n";
    transformed += TransformLine(line) + "\r\n";
  }
  Seed("language_file", "pairs", QByteArray(1, '\0') + plain);
  Seed("language_file", "transformed", "\x02" + transformed);
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
  out_dir =
      QDir(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
  const InHome in_home;
  const QByteArrayList frames = Frames(160, 120, 2);
  FrameSeeds(frames);
  MessageSeeds(frames);
  AudioAndTextSeeds();
  return 0;
}
