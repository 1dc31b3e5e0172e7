#include "message/message_names.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace vocapost {

QString MessageFileName(const QDateTime& when) {
  return when.toString("ddhhmmss") + ".vrc";
}

QString NextMessageName(const QString& name) {
  static const QRegularExpression kRecordingForm(
      R"(^(\d\d)(\d\d\d\d\d\d)\.vrc$)",
      QRegularExpression::CaseInsensitiveOption);
  if (const auto match = kRecordingForm.match(name); match.hasMatch()) {
    const int day = match.captured(1).toInt();
    const QTime time = QTime::fromString(match.captured(2), "hhmmss");
    // A month of 31 days, in UTC so that no clock change skips a second.
    if (day >= 1 && day <= 31 && time.isValid()) {
      const QDateTime at(QDate(2000, 1, day), time, QTimeZone::utc());
      return MessageFileName(at.addSecs(1));
    }
  }
  static const QRegularExpression kNumbered(
      R"(^(.*?)(?:-(\d{1,9}))?(\.[^.]*)?$)",
      QRegularExpression::DotMatchesEverythingOption);
  const auto parts = kNumbered.match(name);
  const int number =
      parts.captured(2).isEmpty() ? 1 : parts.captured(2).toInt();
  return parts.captured(1) + "-" + QString::number(number + 1) +
         parts.captured(3);
}

}  // namespace vocapost
