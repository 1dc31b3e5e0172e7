#pragma once

#include <QObject>
#include <QString>

namespace vocapost {

// Appends a line for every program window that is shown or hidden ("shown",
// a tab, the window's name), so that scripts can follow the program, and
// "drawn\tViewer" once, when the Viewer paints its first picture.
class WindowLog final : public QObject {
 public:
  explicit WindowLog(QString path);
  static QString FormatEntry(const QString& event, const QString& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Append(const QString& event, const QString& window);
  bool IsFirstPicture(QObject* watched, QEvent* event) const;

  QString path_;
  bool picture_drawn_ = false;
};

}  // namespace vocapost
