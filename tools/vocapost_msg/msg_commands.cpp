#include "msg_commands.h"

#include <QDir>
#include <QFileInfo>
#include <QtEndian>
#include <map>

#include "export/export_module.h"
#include "message/message_package.h"
#include "message/message_reader.h"

namespace vocapost::tool {
namespace {

constexpr double kGsmBytesPerSecond = 1625.0;  // 65-byte blocks of 320 samples

// Width x height from a frame record's bitmap header, when it has one.
QString FrameSize(const QByteArray& payload) {
  if (payload.size() < 12) return "?";
  const auto* bytes = reinterpret_cast<const uchar*>(payload.constData());
  return QString("%1x%2")
      .arg(qFromLittleEndian<qint32>(bytes + 4))
      .arg(qFromLittleEndian<qint32>(bytes + 8));
}

// Bytes from a file as a terminal may show them: anything unprintable as \xNN.
QString Printable(const QString& text) {
  QString shown;
  for (const QChar c : text) {
    if (c.unicode() >= 0x20 && c.unicode() < 0x7F && c != '\\') {
      shown += c;
    } else {
      shown += QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
    }
  }
  return shown;
}

QString StopReason(const MessageReader& reader, const MessageRecord* last) {
  switch (reader.end()) {
    case ReadEnd::kUnknownTag:
      return QString("unknown tag \"%1\" at offset %2")
          .arg(Printable(reader.stop_header().left(3)))
          .arg(reader.read_position() - 1);
    case ReadEnd::kReadError:
      return "the file could not be read";
    default:
      break;
  }
  if (last != nullptr && last->truncated) {
    return QString("the file ends inside the record at offset %1")
        .arg(last->position - 1);
  }
  return QString("end of file at offset %1").arg(reader.file_length());
}

class ToolUi final : public PackageUi {
 public:
  ToolUi(QTextStream& out, QTextStream& err) : out_(out), err_(err) {}
  void ShowPackageMessage(const QString& text) override {
    err_ << "vocapost-msg: " << text << Qt::endl;
  }
  void ShowPackage(const QString& name) override { out_ << name << Qt::endl; }

 private:
  QTextStream& out_;
  QTextStream& err_;
};

}  // namespace

int Info(const QString& file, QTextStream& out, QTextStream& err) {
  MessageReader reader;
  if (!QFileInfo(file).isFile() || !reader.Open(file)) {
    err << "vocapost-msg: cannot read " << file << Qt::endl;
    return kFailed;
  }
  int audio = 0, video = 0;
  int64_t audio_bytes = 0;
  std::map<QString, int> sizes;
  std::optional<MessageRecord> last;
  out << "offset\ttag\tlength" << Qt::endl;
  while (std::optional<MessageRecord> record = reader.Next()) {
    const bool is_audio = record->kind == RecordKind::kAudio;
    out << record->position - 1 << '\t' << (is_audio ? "WAV" : "IMG") << '\t'
        << record->length;
    if (is_audio) {
      ++audio;
      audio_bytes += record->payload.size();
    } else {
      ++video;
      const QString size = FrameSize(record->payload);
      ++sizes[size];
      out << '\t' << size;
    }
    out << (record->truncated ? "\t(cut short)" : "") << Qt::endl;
    last = std::move(record);
  }
  out << "audio records: " << audio << " ("
      << QString::number(audio_bytes / kGsmBytesPerSecond, 'f', 2) << " s)"
      << Qt::endl;
  out << "video records: " << video;
  for (const auto& [size, count] : sizes)
    out << ", " << count << " at " << size;
  out << Qt::endl;
  out << "reading stopped: " << StopReason(reader, last ? &*last : nullptr)
      << Qt::endl;
  return reader.end() == ReadEnd::kReadError ? kFailed : kOk;
}

int Package(const QString& file, const QString& stub, QTextStream& out,
            QTextStream& err) {
  ToolUi ui(out, err);
  const int32_t length = BuildPackageFrom(stub, file, QDir::currentPath(), ui);
  if (length == 0) return kFailed;
  out << length << " bytes" << Qt::endl;
  return kOk;
}

int Extract(const QString& package, QTextStream& out, QTextStream& err) {
  if (!QFileInfo(package).isFile()) {
    err << "vocapost-msg: cannot read " << package << Qt::endl;
    return kFailed;
  }
  const Extraction taken = ExtractMessage(package);
  if (taken.name.isEmpty()) {
    err << "vocapost-msg: " << package << ": " << ExtractionFailureText(taken)
        << Qt::endl;
    return kFailed;
  }
  out << taken.name << Qt::endl;
  return kOk;
}

int Export(const QString& file, const QString& webm, QTextStream& out,
           QTextStream& err) {
  const ExportResult result = ExportWebmThroughModule(file, webm);
  switch (result.outcome) {
    case ExportOutcome::kCannotRead:
      err << "vocapost-msg: cannot read " << file << Qt::endl;
      return kFailed;
    case ExportOutcome::kNotAMessage:
      err << "vocapost-msg: " << file
          << ": not a Vocapost message (no whole record at its start)"
          << Qt::endl;
      return kFailed;
    case ExportOutcome::kCannotWrite:
    case ExportOutcome::kCancelled:
      err << "vocapost-msg: cannot write " << webm << ": " << result.error
          << Qt::endl;
      return kFailed;
    case ExportOutcome::kDone:
      break;
  }
  if (result.lost_bytes > 0) {
    err << "vocapost-msg: " << file << ": not exported: the last "
        << result.lost_bytes << " of " << result.message_bytes
        << " bytes, from offset " << result.lost_at
        << ", which hold no whole record" << Qt::endl;
  }
  out << webm << ": " << result.webm_bytes << " bytes, " << result.frames
      << " frames, " << QString::number(result.seconds, 'f', 2) << " s"
      << Qt::endl;
  return kOk;
}

}  // namespace vocapost::tool
