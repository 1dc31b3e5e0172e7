#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace vocapost {

// The small non-modal message window: the text and an OK button.
class ErrorForm1 final : public QWidget {
  Q_OBJECT

 public:
  // Localised in the language of `language_extension` when it loads.
  explicit ErrorForm1(const QString& language_extension);

  QLabel* Label1() const { return label1_; }
  QPushButton* Command1() const { return command1_; }

  void Form_Load(const QString& language_extension);
  void Command1_Click();

 signals:
  // The form asks its owner to unload it (OK button or window close).
  void UnloadRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* label1_;
  QPushButton* command1_;
};

}  // namespace vocapost
