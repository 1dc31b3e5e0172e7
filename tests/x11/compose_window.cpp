// A window that passes for Thunderbird's compose window on X11: its WM_CLASS,
// role and title, the focus in the To field, Alt+S for Subject and the body
// after it. Writes its body to the file named on its command line whenever
// the body changes.
#include <QApplication>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

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
  window.show();
  to->setFocus();
  return QApplication::exec();
}
