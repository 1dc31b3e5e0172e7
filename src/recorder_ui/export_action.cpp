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

#include "export/export_module.h"
#include "messages/caption_file.h"
#include "messages/message_operations.h"
#include "platform/text/user_text.h"

namespace vocapost {
namespace {

constexpr int kShowProgressAfterMs = 400;
constexpr int kProgressPollMs = 100;

QString AskForWebmFile(QWidget* parent, const QString& message,
                       const QString& language) {
  QFileDialog dialog(parent, LocalCaption("Export as WebM", language));
  dialog.setObjectName("ExportDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilter(LocalCaption("WebM video (*.webm)", language));
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
                                const QString& webm, const QString& language) {
  std::atomic<int> done{0}, total{0};
  std::atomic<bool> cancel{false};
  ExportResult result;
  QThread* worker = QThread::create([&] {
    result = ExportWebmThroughModule(message, webm, [&](int now, int all) {
      done = now;
      total = all;
      return !cancel.load();
    });
  });
  QProgressDialog progress(LocalCaption("Exporting %1…", language)
                               .arg(QFileInfo(message).fileName()),
                           LocalCaption("Cancel", language), 0, 0, parent);
  progress.setObjectName("ExportProgress");
  progress.setWindowTitle(LocalCaption("Export as WebM", language));
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
        return UserText(
                   "Exported to %1.  The last %2 bytes of the message were "
                   "damaged and are not in it.")
            .arg(name, QString::number(result.lost_bytes));
      return UserText("Exported to %1.").arg(name);
    case ExportOutcome::kCancelled:
      return {};
    case ExportOutcome::kCannotRead:
      return UserText("The message could not be read: %1").arg(result.error);
    case ExportOutcome::kNotAMessage:
      return UserText("This file is not a Vocapost message.");
    case ExportOutcome::kCannotWrite:
      return UserText("The WebM file could not be written: %1")
          .arg(result.error);
  }
  return {};
}

}  // namespace

QString DefaultWebmPath(const QString& message) {
  QString folder =
      QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
  return QDir(folder).filePath(QFileInfo(message).completeBaseName() + ".webm");
}

void ExportMessageAsWebm(QWidget* parent, const QString& message,
                         MessageOperations& messages, QString& title,
                         const QString& language_extension) {
  const QString webm = AskForWebmFile(parent, message, language_extension);
  if (webm.isEmpty()) return;
  const ExportResult result =
      ExportWithProgress(parent, message, webm, language_extension);
  if (const QString text = Outcome(result, webm); !text.isEmpty())
    messages.ShowMessageForm(text, 0, title);
}

}  // namespace vocapost
