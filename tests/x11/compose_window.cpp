// A window that passes for Thunderbird's compose window on X11: its WM_CLASS,
// role and title, the focus in the To field, Alt+S for Subject and the body
// after it.
// compose_window BODY DROPS X Y WIDTH HEIGHT: at that place on the screen,
// writes its body to BODY whenever the body changes, and what a drop gave to
// DROPS: each format, a tab and its data, one per line.
#include <QApplication>
#include <QDropEvent>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTest>

namespace {

// Whole or not at all, for the test that waits for the file.
void Write(const QString& name, const QByteArray& bytes) {
  QSaveFile file(name);
  if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
    file.commit();
}

class DropRecord final : public QObject {
 public:
  explicit DropRecord(QString name) : name_(std::move(name)) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Drop) return false;
    const auto* drop = static_cast<QDropEvent*>(event);
    QByteArray out;
    for (const QString& format : drop->mimeData()->formats())
      out += format.toUtf8() + '\t' + drop->mimeData()->data(format) + '\n';
    Write(name_, out + "action\t" +
                     QByteArray::number(int(drop->dropAction())) + '\n');
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
  if (argc != 7) return 2;
  const QString body_file = QString::fromLocal8Bit(argv[1]);
  DropRecord drops(QString::fromLocal8Bit(argv[2]));
  app.installEventFilter(&drops);

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
    Write(body_file, body->toPlainText().toUtf8());
  });
  window.setGeometry(atoi(argv[3]), atoi(argv[4]), atoi(argv[5]),
                     atoi(argv[6]));
  window.show();
  to->setFocus();
  // The first body tells the test that the window is on the screen.
  if (QTest::qWaitForWindowExposed(&window))
    Write(body_file, body->toPlainText().toUtf8());
  return QApplication::exec();
}
