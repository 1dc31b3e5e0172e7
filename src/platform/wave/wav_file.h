#pragma once

#include <QFile>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace vocapost {

// The samples of a 16-bit mono PCM WAV file at 8000 samples a second;
// nullopt for anything else.
std::optional<std::vector<int16_t>> ReadWavSamples(const QString& path);

// Writes a 16-bit mono PCM WAV file at 8000 samples a second. The header is
// kept right after every append, so the file is whole even if the program
// ends abruptly.
class WavWriter {
 public:
  explicit WavWriter(const QString& path);
  bool ok() const { return ok_; }
  void Append(const int16_t* samples, size_t count);

 private:
  void WriteHeader();

  QFile file_;
  uint32_t data_bytes_ = 0;
  bool ok_ = false;
};

}  // namespace vocapost
