#pragma once

#include <QString>
#include <cstdint>

#include "message/message_writer.h"

namespace vocapost {

// The message file being recorded and what has gone into it.
struct RecordingSession {
  MessageWriter writer;
  MemoryImage image;  // made at the first recording to memory, then kept
  QString file_name;
  int32_t audio_record_count = 0;
};

}  // namespace vocapost
