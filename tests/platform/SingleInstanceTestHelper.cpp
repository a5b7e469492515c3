// A second process for the single-instance tests. Usage:
//   helper <folder> handoff <window-ms> [names...]  start; print the role and the pending names
//   helper <folder> hold                            be the running copy, print "ready" and every
//                                                   name received, until killed
//   helper <folder> lockonly <ms>                   hold the bare lock (no socket) for a while
// Exit codes of handoff: 10 running copy, 11 handed over, 12 failed.

#include "SingleInstance.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QThread>

#include <cstdio>

namespace {

void Print(const QString& line) {
  std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3) return 2;
  TInstanceOptions options;
  options.Folder = args[1];
  options.RetryIntervalMs = 20;
  options.ConnectTimeoutMs = 500;
  options.AckTimeoutMs = 5000;
  const QString mode = args[2];

  if (mode == QLatin1String("handoff") && args.size() >= 4) {
    options.HandOffWindowMs = args[3].toInt();
    TSingleInstance instance(options);
    const TInstanceStart start = instance.Start(args.mid(4));
    for (const QString& name : start.Pending)
      Print(QStringLiteral("pending ") + name);
    switch (start.Role) {
      case TInstanceRole::irFirst:
        return 10;
      case TInstanceRole::irHandedOver:
        return 11;
      case TInstanceRole::irFailed:
        return 12;
    }
    return 2;
  }
  if (mode == QLatin1String("hold")) {
    TSingleInstance instance(options);
    if (instance.Start({}).Role != TInstanceRole::irFirst) return 3;
    instance.SetHandlers([](const QString& name) { Print(QStringLiteral("file ") + name); },
                         [] { Print(QStringLiteral("raise")); });
    Print(QStringLiteral("ready"));
    return app.exec();
  }
  if (mode == QLatin1String("lockonly") && args.size() >= 4) {
    QLockFile lock(TSingleInstance(options).LockFileName());
    if (!lock.tryLock(0)) return 3;
    Print(QStringLiteral("ready"));
    QThread::msleep(args[3].toULong());
    return 0;
  }
  return 2;
}
