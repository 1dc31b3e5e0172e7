#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace vocapost {

enum class ExportOutcome {
  kDone,
  kCannotRead,   // the message file cannot be opened
  kNotAMessage,  // no record at its start
  kCannotWrite,  // the WebM file cannot be written; nothing is left behind
  kCancelled,
};

struct ExportResult {
  ExportOutcome outcome = ExportOutcome::kCannotRead;
  QString error;              // the system's or the muxer's words
  int64_t message_bytes = 0;  // the message file's length
  int64_t lost_bytes = 0;     // bytes past the last whole record
  int32_t lost_at = 0;        // 0-based offset where the lost part starts
  int frames = 0;             // video frames written
  int skipped_frames = 0;     // frames no player could show
  double seconds = 0;         // playing time
  int64_t webm_bytes = 0;
};

// Called with records read so far and the total; false cancels the export.
using ExportProgress = std::function<bool(int done, int total)>;

// Writes the message `message` as a WebM file `webm`: the VP8 frames as
// they are, the sound as Opus, both timed as the player plays them.
ExportResult ExportWebm(const QString& message, const QString& webm,
                        const ExportProgress& progress = {});

}  // namespace vocapost
