// Writes the fuzz targets' first inputs, made by the program's own writers
// and codecs: make_seeds OUTPUT_DIR gives one folder per target.
#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <cstdio>
#include <vector>

#include "fuzz_support.h"
#include "message/message_package.h"
#include "message/message_writer.h"
#include "messages/language_file.h"
#include "platform/wave/gsm_codec.h"

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

// Frame records from the codec, of a picture that moves from frame to frame.
class FrameMaker {
 public:
  FrameMaker(int width, int height) {
    in_.width = width;
    in_.height = height;
    handle_ = codecs_.Locate(FourCCFromText("VIDC"), FourCCFromText("SMSV"),
                             CodecMode::kCompress);
    codecs_.CompressGetFormat(handle_, in_, out_);
    Check(codecs_.CompressBegin(handle_, in_, out_) == kIcOk,
          "the codec does not begin");
  }
  QByteArray Next(bool key) {
    std::vector<uint8_t> picture(static_cast<size_t>(in_.width) * in_.height *
                                 3);
    for (size_t i = 0; i < picture.size(); ++i)
      picture[i] = static_cast<uint8_t>(i * 7 / 3 + frame_ * 11);
    ++frame_;
    QByteArray record(kFrameHeaderBytes + kLongestPayload, '\0');
    IcCompress c;
    c.flags = key ? kIcCompressKeyFrame : 0;
    c.output_format = &out_;
    c.output = reinterpret_cast<uint8_t*>(record.data()) + kFrameHeaderBytes;
    c.input_format = &in_;
    c.input = picture.data();
    Check(codecs_.Compress(handle_, c) == kIcOk, "the codec does not compress");
    WriteFrameHeader(out_, reinterpret_cast<uint8_t*>(record.data()));
    return record.left(kFrameHeaderBytes + out_.bitmap.size_image);
  }

 private:
  MemoryRegistry registry_;
  CodecManager codecs_{registry_};
  CodecManager::Handle handle_ = 0;
  BitmapInfoHeader in_;
  FrameHeader out_;
  int frame_ = 0;
};

// The VP8 key frame's declared size, behind the 3-byte tag and start code.
QByteArray WithVp8Size(QByteArray record, quint16 width, quint16 height) {
  qToLittleEndian<quint16>(width, record.data() + kFrameHeaderBytes + 6);
  qToLittleEndian<quint16>(height, record.data() + kFrameHeaderBytes + 8);
  return record;
}

QByteArray WithHeaderWidth(QByteArray record, qint32 width) {
  qToLittleEndian<qint32>(width, record.data() + 4);
  return record;
}

QByteArray GsmRecord(int blocks) {
  std::vector<int16_t> tone(static_cast<size_t>(blocks) * kGsmBlockSamples);
  for (size_t i = 0; i < tone.size(); ++i)
    tone[i] = static_cast<int16_t>(8000 * std::sin(i * 0.15));
  return GsmEncoder().Encode(tone.data(), tone.size());
}

void FrameSeeds(FrameMaker& big, FrameMaker& small) {
  const QByteArray key = big.Next(true), diff = big.Next(false);
  Seed("frame_decode", "key_then_difference",
       Piece(key) + Piece(diff) + Piece(big.Next(false)));
  Seed("frame_decode", "small_key_then_difference",
       Piece(small.Next(true)) + Piece(small.Next(false)));
  Seed("frame_decode", "vp8_size_too_large",
       Piece(WithVp8Size(key, 16383, 16383)) + Piece(diff));
  Seed("frame_decode", "vp8_size_one_more",
       Piece(WithVp8Size(key, 161, 120)) + Piece(diff));
  Seed("frame_decode", "header_size_differs",
       Piece(WithHeaderWidth(key, 240)) + Piece(WithHeaderWidth(diff, 80)));
  Seed("frame_decode", "difference_first", Piece(diff) + Piece(key));
  Seed("frame_decode", "payload_cut_short", Piece(key.left(key.size() / 2)));
}

void MessageSeeds(FrameMaker& big, FrameMaker& small) {
  const QString path = QDir::temp().filePath("vocapost-seed.vrc");
  auto message = [&](FrameMaker& frames, int records) {
    MessageWriter writer;
    Check(writer.BeginFile(path), "cannot begin a message");
    for (int i = 0; i < records; ++i) {
      writer.AppendAudio(GsmRecord(17));
      writer.AppendVideo(frames.Next(i == 0));
    }
    Check(writer.Finish(), "cannot finish a message");
    return ReadBytes(path);
  };
  const QByteArray full = message(big, 2);
  Seed("message_reader", "audio_and_frames", full);
  Seed("message_reader", "small_frames", message(small, 2));
  Seed("message_reader", "cut_inside_a_record", full.left(full.size() - 100));
  Seed("message_reader", "unknown_tag_after_audio",
       full.left(1115) + "RIFF12    " + full.mid(1115, 50));
  QFile::remove(path);

  const QByteArray stub(kSmallestStub, '\0');
  QTemporaryDir dir;
  WriteBytes(dir.filePath("vocap.exe"), stub);
  class QuietUi final : public PackageUi {
    void ShowPackageMessage(const QString&) override {}
    void ShowPackage(const QString&) override {}
  } ui;
  for (const QString& name : {"link.vrc", "dirlink.vrc", "new.vrc"}) {
    WriteBytes(dir.filePath(name), full.left(1500));
    Check(BuildPackageFrom(dir.filePath("vocap.exe"), dir.filePath(name),
                           dir.path(), ui) > 0,
          "cannot build a package");
    Seed("package_extract", name + ".exe",
         ReadBytes(dir.filePath(PackageName(name))));
  }
  auto header = [](const QByteArray& name) {
    return (kPackageMarker + name + QByteArray(kPackageBlock, ' '))
        .left(kPackageBlock);
  };
  Seed("package_extract", "bare_header", header("a.vrc") + full.left(2048));
  Seed("package_extract", "header_in_second_block",
       QByteArray(kPackageBlock, '\0') + header(" dir.vrc ") + "x");
  Seed("package_extract", "name_with_folder", header("../up.vrc") + "x");
}

void AudioAndTextSeeds() {
  Seed("gsm_decode", "two_records",
       Piece(GsmRecord(17)) + Piece(GsmRecord(17)));
  Seed("gsm_decode", "ragged_record", Piece(GsmRecord(40).left(2000)));
  const QByteArrayList lines = {
      "Recordedfile does not exist.", "Fichier introuvable.",
      "Player failed to start", "Le lecteur ne d\xc3\xa9marre pas", "\x1a"};
  QByteArray plain, transformed;
  for (const QByteArray& line : lines) {
    plain += line + "\r\n";
    transformed += TransformLine(line) + "\r\n";
  }
  Seed("language_file", "pairs", QByteArray(1, '\0') + plain);
  Seed("language_file", "pairs_lf_only", "\x02" + plain.replace("\r", ""));
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
  // Named before the home becomes the current directory.
  out_dir =
      QDir(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
  FuzzHome::Get();
  FrameMaker big(160, 120), small(80, 60);
  FrameSeeds(big, small);
  MessageSeeds(big, small);
  AudioAndTextSeeds();
  return 0;
}
