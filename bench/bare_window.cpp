// A bare Qt Widgets window, the yardstick for the program's start-up: it
// notes "shown\tBare" in $VOCAPOST_WINDOW_LOG as the program's window log
// does. With --label it shows one line of text as well, which is what
// brings in the fonts (fontconfig, FreeType, HarfBuzz).
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QWidget>

namespace {

class ShownLog final : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      QFile file(qEnvironmentVariable("VOCAPOST_WINDOW_LOG"));
      if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write("shown\tBare\n");
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  ShownLog log;
  qt.installEventFilter(&log);
  QWidget window;
  window.resize(640, 480);
  if (QApplication::arguments().contains("--label"))
    (new QLabel("Vocapost", &window))->move(20, 20);
  window.show();
  return QApplication::exec();
}
