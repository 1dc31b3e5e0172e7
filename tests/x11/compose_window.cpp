// A window that passes for Thunderbird's compose window on X11: its WM_CLASS,
// role and title, the focus in the To field, Alt+S for Subject and the body
// after it. Writes its body to the file named on its command line whenever
// the body changes.
// compose_window BODY [DROPS X Y WIDTH HEIGHT]: at that place on the screen,
// writes down what a drop gave to DROPS: each format, a tab and its data,
// one per line.
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QWidget>
#include <optional>

namespace {

class DropRecord final : public QObject {
 public:
  explicit DropRecord(QString name) : name_(std::move(name)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Drop) return false;
    const auto* drop = static_cast<QDropEvent*>(event);
    QByteArray out;
    for (const QString& format : drop->mimeData()->formats())
      out += format.toUtf8() + '\t' + drop->mimeData()->data(format) + '\n';
    out += "action\t" + QByteArray::number(int(drop->dropAction())) + '\n';
    // Whole or not at all, for the test that waits for it.
    QFile file(name_ + ".part");
    if (file.open(QIODevice::WriteOnly)) file.write(out);
    file.close();
    file.rename(name_);
    return false;
  }

 private:
  QString name_;
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("RESOURCE_NAME", "Msgcompose");  // WM_CLASS instance
  QApplication app(argc, argv);
  QApplication::setApplicationName("thunderbird-default");  // WM_CLASS class
  if (argc < 2) return 2;
  const QString body_file = QString::fromLocal8Bit(argv[1]);

  QWidget window;
  window.setWindowTitle("Write: (no subject) - Thunderbird");
  window.setWindowRole("Msgcompose");
  auto* layout = new QFormLayout(&window);
  auto* to = new QLineEdit(&window);
  auto* subject = new QLineEdit(&window);
  auto* subject_label = new QLabel("&Subject", &window);
  subject_label->setBuddy(subject);
  auto* body = new QPlainTextEdit("Existing text", &window);
  layout->addRow("To", to);
  layout->addRow(subject_label, subject);
  layout->addRow(body);
  QObject::connect(body, &QPlainTextEdit::textChanged, [body, &body_file] {
    QFile file(body_file);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      file.write(body->toPlainText().toUtf8());
    }
  });
  window.resize(860, 800);
  std::optional<DropRecord> drops;
  if (argc == 7) {
    drops.emplace(QString::fromLocal8Bit(argv[2]));
    app.installEventFilter(&*drops);
    window.setGeometry(atoi(argv[3]), atoi(argv[4]), atoi(argv[5]),
                       atoi(argv[6]));
  }
  window.show();
  to->setFocus();
  return QApplication::exec();
}
