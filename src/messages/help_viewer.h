#pragma once

#include <QString>
#include <QTextBrowser>

namespace vocapost {

inline const QString kHelpFile = "VOCAPOST.HLP";

// The help window: the program's HTML help, its contents page first; links
// between its topics are followed, links to the web open in the browser.
class HelpViewer final : public QTextBrowser {
 public:
  // Its own texts in the language of `language_extension`.
  explicit HelpViewer(const QString& language_extension);

  // Shows the contents of `help_file`, looked for in the current folder in
  // any case, or a page saying that it is missing.
  void ShowContents(const QString& help_file);
  bool found() const { return found_; }

 private:
  QString language_extension_;
  bool found_ = false;
};

}  // namespace vocapost
