#pragma once

#include <sys/resource.h>

#include <QProcess>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vocapost::bench {

// User + system seconds of this process (RUSAGE_SELF) or of its ended
// children (RUSAGE_CHILDREN).
inline double CpuSeconds(int who = RUSAGE_SELF) {
  rusage usage{};
  getrusage(who, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) *
             1e-6;
}

// CPU seconds of the least of `runs` runs of a peer tool. A peer that fails
// ends the benchmark: a blank in the report would read as a result.
inline double LeastChildCpu(const QString& program, const QStringList& args,
                            int runs, int timeout_ms) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const double before = CpuSeconds(RUSAGE_CHILDREN);
    QProcess tool;
    tool.start(program, args);
    if (!tool.waitForFinished(timeout_ms) || tool.exitCode() != 0) {
      std::fprintf(stderr, "%s failed: %s\n%s\n", qPrintable(program),
                   qPrintable(args.join(' ')),
                   tool.readAllStandardError().constData());
      std::exit(1);
    }
    best = std::min(best, CpuSeconds(RUSAGE_CHILDREN) - before);
  }
  return best;
}

}  // namespace vocapost::bench
