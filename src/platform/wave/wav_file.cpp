#include "platform/wave/wav_file.h"

#include <QtEndian>
#include <cstring>

namespace vocapost {
namespace {

constexpr int kHeaderBytes = 44;
constexpr uint32_t kRate = 8000;

QByteArray Le32(uint32_t value) {
  QByteArray bytes(4, '\0');
  qToLittleEndian(value, bytes.data());
  return bytes;
}

QByteArray Le16(uint16_t value) {
  QByteArray bytes(2, '\0');
  qToLittleEndian(value, bytes.data());
  return bytes;
}

}  // namespace

std::optional<std::vector<int16_t>> ReadWavSamples(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray bytes = file.read(64 * 1024 * 1024);
  if (bytes.size() < 12 || !bytes.startsWith("RIFF") ||
      bytes.mid(8, 4) != "WAVE") {
    return std::nullopt;
  }
  const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
  bool format_ok = false;
  for (qsizetype at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const qint64 size = qFromLittleEndian<quint32>(data + at + 4);
    const qsizetype body = at + 8;
    if (id == "fmt " && size >= 16 && body + 16 <= bytes.size()) {
      format_ok = qFromLittleEndian<quint16>(data + body) == 1 &&      // PCM
                  qFromLittleEndian<quint16>(data + body + 2) == 1 &&  // mono
                  qFromLittleEndian<quint32>(data + body + 4) == kRate &&
                  qFromLittleEndian<quint16>(data + body + 14) == 16;
    } else if (id == "data") {
      if (!format_ok) return std::nullopt;
      const qint64 available = std::min<qint64>(size, bytes.size() - body);
      std::vector<int16_t> samples(static_cast<size_t>(available / 2));
      for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = qFromLittleEndian<qint16>(data + body + 2 * i);
      }
      return samples;
    }
    at = body + size + (size & 1);
  }
  return std::nullopt;
}

WavWriter::WavWriter(const QString& path) : file_(path) {
  ok_ = file_.open(QIODevice::ReadWrite | QIODevice::Truncate);
  if (ok_) WriteHeader();
}

void WavWriter::WriteHeader() {
  QByteArray header = "RIFF" + Le32(36 + data_bytes_) + "WAVEfmt " + Le32(16) +
                      Le16(1) + Le16(1) + Le32(kRate) + Le32(kRate * 2) +
                      Le16(2) + Le16(16) + "data" + Le32(data_bytes_);
  file_.seek(0);
  ok_ = ok_ && file_.write(header) == kHeaderBytes;
}

void WavWriter::Append(const int16_t* samples, size_t count) {
  if (!ok_) return;
  QByteArray bytes(static_cast<qsizetype>(count * 2), '\0');
  for (size_t i = 0; i < count; ++i)
    qToLittleEndian(samples[i], bytes.data() + 2 * i);
  file_.seek(kHeaderBytes + data_bytes_);
  ok_ = file_.write(bytes) == bytes.size();
  data_bytes_ += static_cast<uint32_t>(bytes.size());
  WriteHeader();
  file_.flush();
}

}  // namespace vocapost
