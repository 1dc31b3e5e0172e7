#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <QWidget>

namespace vocapost::testing {

// Keeps a picture of `widget` in the build's artifacts folder, for a person
// to look at; true when it was written.
inline bool SaveArtifact(QWidget& widget, const QString& name) {
  const QString folder = VOCAPOST_ARTIFACTS_DIR;
  QDir().mkpath(folder);
  return widget.grab().toImage().save(QDir(folder).filePath(name + ".png"));
}

}  // namespace vocapost::testing
