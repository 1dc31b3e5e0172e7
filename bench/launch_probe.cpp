// Time from exec to a line in the program's window log ("shown\tMKERForm1",
// "drawn\tViewer" ...), the median of RUNS launches on the current display
// with the test devices. "cold" gives each launch a fresh program home and
// settings; "warm" reuses one that a first, untimed launch filled.
// usage: vocapost_launch_probe RUNS cold|warm MARK PROGRAM [ARGS...]
// Prints one JSON object.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>

namespace {

bool Logged(const QString& log, const QByteArray& mark) {
  QFile file(log);
  return file.open(QIODevice::ReadOnly) && file.readAll().contains(mark);
}

// One launch; the milliseconds to the mark, or a negative number.
double Launch(const QString& home, const QString& program,
              const QStringList& args, const QByteArray& mark) {
  QTemporaryDir run;
  const QString log = run.filePath("windows.log");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("VOCAPOST_HOME", home + "/home");
  env.insert("XDG_CONFIG_HOME", home + "/config");
  env.insert("XDG_RUNTIME_DIR", run.path());
  env.insert("VOCAPOST_WINDOW_LOG", log);
  env.insert("VOCAPOST_CAPTURE", "test-pattern");
  env.insert("VOCAPOST_AUDIO", "test-tone");
  env.insert("VOCAPOST_AUDIO_OUT", "discard");
  env.insert("VOCAPOST_AUTOCLOSE_MESSAGES", "1");
  QProcess process;
  process.setProcessEnvironment(env);
  QElapsedTimer clock;
  clock.start();
  process.start(program, args);
  while (!Logged(log, mark) && clock.elapsed() < 20000) QThread::usleep(300);
  const double ms = static_cast<double>(clock.nsecsElapsed()) * 1e-6;
  const bool seen = Logged(log, mark);
  process.kill();
  process.waitForFinished(5000);
  // A killed copy leaves its markers, which the next copy would answer.
  for (const QString& marker : QDir(home + "/home").entryList({"pop*.txt"}))
    QFile::remove(home + "/home/" + marker);
  return seen ? ms : -1;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication qt(argc, argv);
  const QStringList a = qt.arguments();
  if (a.size() < 5) {
    std::fprintf(stderr, "usage: %s RUNS cold|warm MARK PROGRAM [ARGS...]\n",
                 argv[0]);
    return 2;
  }
  const int runs = a[1].toInt();
  const bool warm = a[2] == "warm";
  const QByteArray mark = a[3].toUtf8().replace("\\t", "\t");
  const QString program = a[4];
  const QStringList args = a.mid(5);
  QTemporaryDir shared;
  if (warm && Launch(shared.path(), program, args, mark) < 0) return 1;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    QTemporaryDir fresh;
    const double ms =
        Launch(warm ? shared.path() : fresh.path(), program, args, mark);
    if (ms < 0) {
      std::fprintf(stderr, "%s: no \"%s\" in the window log\n",
                   qPrintable(program), a[3].toUtf8().constData());
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  const size_t n = times.size();
  const double median =
      n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
  const QJsonObject row{{"median_ms", median},
                        {"min_ms", times.front()},
                        {"max_ms", times.back()},
                        {"runs", runs}};
  std::printf("%s\n", QJsonDocument(row).toJson(QJsonDocument::Compact).data());
  return 0;
}
