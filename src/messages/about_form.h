#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

namespace vocapost {

class Application;

// The small window with the product name, its version and the maker's notice.
class AboutForm final : public QWidget {
 public:
  explicit AboutForm(Application& app);

  void Form_Load();
  void Command1_Click();

  QLabel* Label1() const { return label1_; }
  QLabel* Label2() const { return label2_; }
  QLabel* Label3() const { return label3_; }

 private:
  Application& app_;
  QLabel* label3_;
  QLabel* label1_;
  QLabel* label2_;
  QPushButton* command1_;
};

// "2.7." and the program's revision number.
QString VersionText(int revision);

}  // namespace vocapost
