#include "thumbnail_command.h"

#include <QFileInfo>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "message/message_reader.h"
#include "msg_commands.h"
#include "platform/codec/bitmap_header.h"
#include "platform/codec/codec_manager.h"
#include "platform/codec/vp8_codec.h"
#include "platform/home/program_home.h"

namespace vocapost::tool {
namespace {

constexpr int kLargestSide = 640;  // the codec's limit
constexpr int kLargestThumbnail = 4096;

// A frame record's picture when it is a key frame that decodes.
QImage KeyFramePicture(const QByteArray& payload, Vp8Decoder& decoder) {
  if (payload.size() < kFrameHeaderBytes) return {};
  const auto* bytes = reinterpret_cast<const uint8_t*>(payload.constData());
  const BitmapInfoHeader format = ParseFrameHeader(bytes).bitmap;
  const int64_t n = format.size_image;
  const int width = format.width, height = std::abs(format.height);
  if (n < 2 || kFrameHeaderBytes + n > payload.size() || width <= 0 ||
      width > kLargestSide || height == 0 || height > kLargestSide ||
      bytes[kFrameHeaderBytes + n - 1] != 1) {
    return {};
  }
  std::vector<uint8_t> bgr(static_cast<size_t>(width) * height * 3);
  // The trailer byte is the codec's, not VP8's.
  if (!decoder.Decode(bytes + kFrameHeaderBytes, static_cast<size_t>(n - 1),
                      width, height, bgr.data())) {
    return {};
  }
  // Decoded rows are bottom-up, as the Viewer draws them.
  return QImage(bgr.data(), width, height, width * 3, QImage::Format_BGR888)
      .mirrored();
}

// The program home's copy of a shipped file, else the shipped one.
QString ProgramFile(const char* name) {
  const auto home = ResolveProgramHome() / name;
  std::error_code ec;
  if (std::filesystem::is_regular_file(home, ec))
    return QString::fromStdString(home.string());
  return QString::fromStdString((ShippedDataDir() / name).string());
}

}  // namespace

QImage FirstPicture(const QString& file) {
  MessageReader reader;
  if (!reader.Open(file)) return {};
  // No larger a picture than the Viewer would show.
  Vp8Decoder decoder(kLargestPictureBytes);
  while (std::optional<MessageRecord> record = reader.Next()) {
    if (record->kind != RecordKind::kVideo) continue;
    QImage picture = KeyFramePicture(record->payload, decoder);
    if (!picture.isNull()) return picture;
  }
  return {};
}

int Thumbnail(const QString& file, const QString& png, int size,
              const QString& no_video_picture, QTextStream& err) {
  MessageReader reader;
  if (!QFileInfo(file).isFile() || !reader.Open(file)) {
    err << "vocapost-msg: cannot read " << file << Qt::endl;
    return kFailed;
  }
  if (!reader.Next()) {
    err << "vocapost-msg: " << file
        << " is not a Vocapost message (it holds no message records)"
        << Qt::endl;
    return kFailed;
  }
  reader.Close();
  QImage picture = FirstPicture(file);
  if (picture.isNull()) picture.load(no_video_picture);
  if (picture.isNull()) {
    err << "vocapost-msg: " << file << " holds no picture, and "
        << no_video_picture << " cannot be read" << Qt::endl;
    return kFailed;
  }
  const QImage thumbnail =
      picture.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  if (!thumbnail.save(png, "PNG")) {
    err << "vocapost-msg: cannot write " << png << Qt::endl;
    return kFailed;
  }
  return kOk;
}

int ThumbnailCommand(const QStringList& args, QTextStream& err) {
  bool number = false;
  const int size = args.size() == 3 ? args[2].toInt(&number) : 0;
  if (!number || size < 1 || size > kLargestThumbnail) {
    err << "usage: vocapost-msg thumbnail IN.vrc OUT.png SIZE   (SIZE: 1 to "
        << kLargestThumbnail << " pixels)" << Qt::endl;
    return kUsage;
  }
  return Thumbnail(args[0], args[1], size, ProgramFile("firsview.bmp"), err);
}

}  // namespace vocapost::tool
