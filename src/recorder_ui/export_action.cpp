#include "recorder_ui/export_action.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <atomic>

#include "export/webm_export.h"
#include "messages/message_operations.h"

namespace vocapost {
namespace {

constexpr int kShowProgressAfterMs = 400;
constexpr int kProgressPollMs = 100;

QString AskForWebmFile(QWidget* parent, const QString& message) {
  QFileDialog dialog(parent, "Export as WebM");
  dialog.setObjectName("ExportDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter("WebM video (*.webm)");
  dialog.setDefaultSuffix("webm");
  const QString start = DefaultWebmPath(message);
  dialog.setDirectory(QFileInfo(start).path());
  dialog.selectFile(QFileInfo(start).fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return dialog.selectedFiles().first();
}

// Runs the export on a thread of its own while the window stays live; a
// progress dialog appears only when it takes a while, and can cancel it.
ExportResult ExportWithProgress(QWidget* parent, const QString& message,
                                const QString& webm) {
  std::atomic<int> done{0}, total{0};
  std::atomic<bool> cancel{false};
  ExportResult result;
  QThread* worker = QThread::create([&] {
    result = ExportWebm(message, webm, [&](int now, int all) {
      done = now;
      total = all;
      return !cancel.load();
    });
  });
  QProgressDialog progress("Exporting " + QFileInfo(message).fileName() +
                               "…",
                           "Cancel", 0, 0, parent);
  progress.setObjectName("ExportProgress");
  progress.setWindowTitle("Export as WebM");
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kShowProgressAfterMs);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &progress, [&] {
    if (progress.wasCanceled()) cancel = true;
    progress.setMaximum(total);
    progress.setValue(done);
  });
  QEventLoop loop;
  QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
  worker->start();
  poll.start(kProgressPollMs);
  loop.exec();
  worker->wait();
  delete worker;
  return result;
}

QString Outcome(const ExportResult& result, const QString& webm) {
  const QString name = QDir::toNativeSeparators(webm);
  switch (result.outcome) {
    case ExportOutcome::kDone:
      if (result.lost_bytes > 0)
        return QString("Exported to %1.  The last %2 bytes of the message "
                       "were damaged and are not in it.")
            .arg(name)
            .arg(result.lost_bytes);
      return "Exported to " + name + ".";
    case ExportOutcome::kCancelled:
      return {};
    case ExportOutcome::kCannotRead:
      return "The message could not be read: " + result.error;
    case ExportOutcome::kNotAMessage:
      return "This file is not a Vocapost message.";
    case ExportOutcome::kCannotWrite:
      return "The WebM file could not be written: " + result.error;
  }
  return {};
}

}  // namespace

QString DefaultWebmPath(const QString& message) {
  QString folder =
      QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  return QDir(folder).filePath(QFileInfo(message).completeBaseName() +
                               ".webm");
}

void ExportMessageAsWebm(QWidget* parent, const QString& message,
                         MessageOperations& messages, QString& title) {
  const QString webm = AskForWebmFile(parent, message);
  if (webm.isEmpty()) return;
  const ExportResult result = ExportWithProgress(parent, message, webm);
  if (const QString text = Outcome(result, webm); !text.isEmpty())
    messages.ShowMessageForm(text, 0, title);
}

}  // namespace vocapost
