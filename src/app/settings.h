#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "platform/settings/settings_store.h"

namespace vocapost {

inline const QString kSettingsApplication = "Vocapost Settings";
inline const QString kSettingsSection = "Properties";

inline constexpr int32_t kGsmBlockSize =
    1105;  // 17 GSM 6.10 blocks of 65 bytes
inline constexpr int16_t kGsmFormat = 2;
inline constexpr int32_t kMemoryMessageLimit = 1048576;
inline constexpr int32_t kFileMessageLimit = 2000000;

// The user's settings and the audio parameters derived from them at start-up.
struct SettingsState {
  int16_t record_to_memory = 0;
  int16_t full_duplex = 1;  // never changed during a run
  QString use_email_client = "Outlook";
  int16_t audio_format = 0;
  int32_t audio_block_size = 0;
  int32_t player_block_size = 0;
};

// A stored setting read as a number: the leading decimal number (blanks
// before it skipped, no number gives 0), rounded to the nearest integer with
// halves to even. A number that does not fit in 16 bits gives nullopt.
std::optional<int16_t> SettingNumber(const QString& stored);

SettingsState ReadSettings(SettingsStore& store);

int32_t MaximumMessageSize(int16_t record_to_memory);

// Saves "FullDuplex" for the next start; the running value stays as read.
bool WriteFullDuplexSetting(SettingsStore& store, const QString& value);

}  // namespace vocapost
