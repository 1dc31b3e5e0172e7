#pragma once

#include <QObject>
#include <QString>

namespace vocapost {

// Appends a line for every program window that is shown or hidden ("shown",
// a tab, the window's name), so that scripts can follow the program.
class WindowLog final : public QObject {
 public:
  explicit WindowLog(QString path);
  static QString FormatEntry(const QString& event, const QString& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QString path_;
};

}  // namespace vocapost
