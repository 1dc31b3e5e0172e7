// Any bytes as a message file: the reader keeps its promises record by
// record, the frame-size probe picks a known size, and playing the file
// reaches its end one record a tick.
#include <algorithm>

#include "fuzz_support.h"
#include "message/message_reader.h"

namespace vocapost::fuzz {
namespace {

constexpr int16_t kKnownTwips[] = {0, 1200, 1800, 2400, 3000, 3600};

// Reads the file as the player does and counts its records.
int CheckedRecords(const QString& name, int64_t size) {
  MessageReader reader;
  Check(reader.Open(name), "the message does not open");
  Check(reader.file_length() == size, "wrong file length");
  int64_t expected_position = 1;
  int records = 0;
  while (std::optional<MessageRecord> record = reader.Next()) {
    ++records;
    Check(record->position == expected_position, "records not back to back");
    Check(record->length >= 0 && record->length <= kLargestPayload,
          "a length the header cannot hold");
    const int64_t payload_at = int64_t{record->position} + kRecordHeaderSize;
    const int64_t on_file = std::max<int64_t>(0, size - (payload_at - 1));
    const int64_t wanted = record->kind == RecordKind::kVideo
                               ? std::min(record->length, kFrameBufferSize)
                               : record->length;
    Check(record->payload.size() == std::min(wanted, on_file),
          "payload not what the file holds");
    Check(record->truncated == (payload_at + record->length - 1 > size),
          "truncation misreported");
    expected_position = payload_at + record->length;
    Check(records <= size / kRecordHeaderSize + 1, "more records than headers");
  }
  Check(reader.end() == ReadEnd::kEndOfFile ||
            reader.end() == ReadEnd::kUnknownTag,
        "reading ended without a reason");
  return records;
}

}  // namespace
}  // namespace vocapost::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vocapost;
  using namespace vocapost::fuzz;
  const InHome in_home;
  static PlayerRig* rig = new PlayerRig;  // kept for the whole run
  const QString name = "m.vrc";
  WriteBytes(name, QByteArray(reinterpret_cast<const char*>(data),
                              static_cast<qsizetype>(size)));
  const int records = CheckedRecords(name, static_cast<int64_t>(size));

  rig->player().OpenMessageForPlay(name);
  const int16_t twips = rig->state().activity.recorded_width_twips;
  Check(std::find(std::begin(kKnownTwips), std::end(kKnownTwips), twips) !=
            std::end(kKnownTwips),
        "the probe chose an unknown width");
  Check(rig->state().video.size_change_busy == 0, "the probe stayed busy");

  rig->ReopenCodec();
  Check(rig->PlayToEnd(name, records + 2), "playing does not end");
  return 0;
}
