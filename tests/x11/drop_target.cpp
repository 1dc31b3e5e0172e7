// A window that takes one drop and writes down what it was given: each
// format, a tab and its data, one per line. Writes "ready" beside the
// record once it is on the screen.
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

namespace {

class DropTarget final : public QWidget {
 public:
  explicit DropTarget(QString record) : record_(std::move(record)) {
    setAcceptDrops(true);
  }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override {
    event->acceptProposedAction();
  }
  void dropEvent(QDropEvent* event) override {
    QByteArray out;
    for (const QString& format : event->mimeData()->formats())
      out += format.toUtf8() + '\t' + event->mimeData()->data(format) + '\n';
    out += "action\t" + QByteArray::number(int(event->dropAction())) + '\n';
    event->acceptProposedAction();
    Write(record_, out);
    QTimer::singleShot(0, qApp, &QApplication::quit);
  }
  void showEvent(QShowEvent*) override {
    QTimer::singleShot(200, this, [this] { Write(record_ + ".ready", {}); });
  }

 private:
  static void Write(const QString& name, const QByteArray& data) {
    QFile file(name + ".part");
    if (file.open(QIODevice::WriteOnly)) file.write(data);
    file.close();
    file.rename(name);
  }
  QString record_;
};

}  // namespace

// drop_target RECORD X Y WIDTH HEIGHT
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 6) return 2;
  DropTarget target(QString::fromLocal8Bit(argv[1]));
  target.setWindowTitle("drop target");
  target.setGeometry(atoi(argv[2]), atoi(argv[3]), atoi(argv[4]),
                     atoi(argv[5]));
  target.show();
  QTimer::singleShot(30000, &app, &QApplication::quit);
  return app.exec();
}
