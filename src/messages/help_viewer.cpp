#include "messages/help_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QScrollBar>
#include <QUrl>

#include "messages/caption_file.h"
#include "messages/text_lines.h"

namespace vocapost {

HelpViewer::HelpViewer(const QString& language_extension)
    : QTextBrowser(nullptr), language_extension_(language_extension) {
  setObjectName("HelpViewer");
  setWindowFlag(Qt::Window);
  setAttribute(Qt::WA_QuitOnClose, false);
  setWindowTitle(LocalCaption("Vocapost Help", language_extension_));
  setOpenExternalLinks(true);
  resize(560, 620);
}

void HelpViewer::ShowContents(const QString& help_file) {
  const QString found = FindFileIgnoringCase(help_file);
  found_ = !found.isEmpty();
  if (!found_) {
    clear();
    const QString where = QDir::toNativeSeparators(QDir::currentPath());
    setHtml("<h2>" +
            LocalCaption("Vocapost Help", language_extension_).toHtmlEscaped() +
            "</h2><p>" +
            LocalCaption("The help file %1 is not in %2.", language_extension_)
                .arg(help_file, where)
                .toHtmlEscaped() +
            "</p><p>" +
            LocalCaption("Installing Vocapost again puts it back.",
                         language_extension_)
                .toHtmlEscaped() +
            "</p>");
    return;
  }
  const QString path = QFileInfo(found).absoluteFilePath();
  // The file's name says nothing of its kind: it is HTML.
  if (source() == QUrl::fromLocalFile(path)) {
    reload();
  } else {
    setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
  }
  verticalScrollBar()->setValue(0);
}

}  // namespace vocapost
