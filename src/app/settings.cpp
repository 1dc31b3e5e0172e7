#include "app/settings.h"

#include "platform/units/units.h"

namespace vocapost {
namespace {

bool IsDigit(QChar c) { return c >= '0' && c <= '9'; }

// Length of the run of digits starting at `pos`.
qsizetype DigitsAt(const QString& text, qsizetype pos) {
  qsizetype end = pos;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - pos;
}

// The longest prefix of `text` (from `start`) that reads as a decimal number
// with optional sign, fraction and exponent; empty when there is none.
QString LeadingNumber(const QString& text, qsizetype start) {
  qsizetype pos = start;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const qsizetype whole = DigitsAt(text, pos);
  pos += whole;
  qsizetype fraction = 0;
  if (pos < text.size() && text[pos] == '.') {
    fraction = DigitsAt(text, pos + 1);
    pos += 1 + fraction;
  }
  if (whole + fraction == 0) return {};
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    qsizetype exp = pos + 1;
    if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) ++exp;
    const qsizetype exp_digits = DigitsAt(text, exp);
    if (exp_digits > 0) pos = exp + exp_digits;
  }
  return text.mid(start, pos - start);
}

int16_t NumberOrDefault(SettingsStore& store, const QString& key,
                        int16_t fallback) {
  const std::optional<QString> stored =
      store.Get(kSettingsApplication, kSettingsSection, key);
  if (!stored) return fallback;
  return SettingNumber(*stored).value_or(fallback);
}

}  // namespace

std::optional<int16_t> SettingNumber(const QString& stored) {
  qsizetype start = 0;
  while (start < stored.size() &&
         (stored[start] == ' ' || stored[start] == '\t'))
    ++start;
  const QString number = LeadingNumber(stored, start);
  if (number.isEmpty()) return 0;
  bool ok = false;
  const double value = RoundHalfEven(number.toDouble(&ok));
  if (!ok || !(value >= INT16_MIN && value <= INT16_MAX)) return std::nullopt;
  return static_cast<int16_t>(value);
}

SettingsState ReadSettings(SettingsStore& store) {
  SettingsState s;
  s.record_to_memory = NumberOrDefault(store, "RecordToMemory", 0);
  s.full_duplex = NumberOrDefault(store, "FullDuplex", 1);
  s.use_email_client =
      store.Get(kSettingsApplication, kSettingsSection, "UseEmailClient")
          .value_or("Outlook");
  // Both half and full duplex record GSM 6.10; other values leave audio unset.
  if (s.full_duplex == 0 || s.full_duplex == 1) s.audio_format = kGsmFormat;
  if (s.audio_format == kGsmFormat) {
    s.audio_block_size = kGsmBlockSize;
    s.player_block_size = kGsmBlockSize;
  }
  return s;
}

int32_t MaximumMessageSize(int16_t record_to_memory) {
  return record_to_memory == 1 ? kMemoryMessageLimit : kFileMessageLimit;
}

bool WriteFullDuplexSetting(SettingsStore& store, const QString& value) {
  return store.Set(kSettingsApplication, kSettingsSection, "FullDuplex", value);
}

}  // namespace vocapost
