// The running copy and later starts: real second processes (the helper) hand names over; raw
// clients send what a well-behaved start never would.

#include "SingleInstance.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

#include <signal.h>
#include <unistd.h>

using namespace tw_instance;

namespace {

class TCoreEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "instance_tests";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<QCoreApplication>(argc, argv);
  }
  void TearDown() override { FApp.reset(); }

 private:
  std::unique_ptr<QCoreApplication> FApp;
};

::testing::Environment* const kCore = ::testing::AddGlobalTestEnvironment(new TCoreEnvironment);

// Runs the event loop until `done` holds or `ms` have passed; the result of `done`.
bool SpinUntil(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}

QString Str(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

TInstanceOptions TestOptions(const tw_test::TTempDir& dir) {
  TInstanceOptions options;
  options.Folder = Str(dir.Path());
  options.HandOffWindowMs = 3000;
  options.RetryIntervalMs = 20;
  options.ConnectTimeoutMs = 500;
  options.AckTimeoutMs = 3000;
  options.ClientMessageMs = 3000;
  return options;
}

// The helper process, started in `dir`, with the event loop of this process running while
// it works so that this process can serve its hand-off.
class THelper {
 public:
  THelper(const tw_test::TTempDir& dir, const QStringList& args) {
    FProcess.setWorkingDirectory(Str(dir.Path()));
    FProcess.start(QStringLiteral(TW_INSTANCE_HELPER), QStringList{Str(dir.Path())} + args);
  }
  ~THelper() {
    if (FProcess.state() != QProcess::NotRunning) {
      FProcess.kill();
      FProcess.waitForFinished(5000);
    }
  }
  // The exit code once it ended, -1 when it did not end in time or crashed.
  int Finish() {
    if (!SpinUntil([this] { return FProcess.state() == QProcess::NotRunning; })) return -1;
    return FProcess.exitStatus() == QProcess::NormalExit ? FProcess.exitCode() : -1;
  }
  // True once the helper printed "ready".
  bool WaitReady() {
    return SpinUntil([this] { return Output().contains(QStringLiteral("ready\n")); });
  }
  QString Output() {
    FOutput += QString::fromUtf8(FProcess.readAllStandardOutput());
    return FOutput;
  }
  QProcess& Process() { return FProcess; }

 private:
  QProcess FProcess;
  QString FOutput;
};

// A running copy in `dir` that records what it receives.
struct TRunningCopy {
  explicit TRunningCopy(TInstanceOptions options) : Instance(std::move(options)) {
    Role = Instance.Start({}).Role;
    Instance.SetHandlers(
        [this](const QString& name) { Events.append(QStringLiteral("file ") + name); },
        [this] { Events.append(QStringLiteral("raise")); });
  }

  TSingleInstance Instance;
  TInstanceRole Role;
  QStringList Events;
};

// A client that speaks the framing directly.
class TRawClient {
 public:
  explicit TRawClient(const TSingleInstance& server) {
    FSocket.connectToServer(server.ServerName());
    Connected = SpinUntil([this] { return FSocket.state() == QLocalSocket::ConnectedState; });
  }
  void Send(const QByteArray& bytes) {
    FSocket.write(bytes);
    FSocket.flush();
  }
  // The answer byte, or -1 when the connection closed (or nothing came) instead.
  int Answer(int ms = 5000) {
    SpinUntil(
        [this] {
          return FSocket.bytesAvailable() > 0 || FSocket.state() != QLocalSocket::ConnectedState;
        },
        ms);
    char ack = 0;
    return FSocket.read(&ack, 1) == 1 ? ack : -1;
  }
  bool IsClosed() {
    return SpinUntil([this] { return FSocket.state() == QLocalSocket::UnconnectedState; });
  }

  bool Connected = false;

 private:
  QLocalSocket FSocket;
};

QByteArray NameMessage(const QByteArray& name) {
  return EncodeMessage(kTagFileName, name);
}

}  // namespace

TEST(SingleInstanceTest, LaterStartHandsItsNamesOverInOrderAfterRaising) {
  struct TCase {
    QStringList Args;
    QStringList Expected;  // relative to the helper's folder where not absolute
  };
  const TCase cases[] = {
      {{"a.drf", "/data/b run.drf", "sub/c.DR0"},
       {"raise", "file @/a.drf", "file /data/b run.drf", "file @/sub/c.DR0"}},
      {{}, {"raise"}},
      {{"", "x.drf"}, {"raise", "file @/x.drf"}},  // an empty argument is no name
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Args.join(QLatin1Char(',')).toStdString());
    tw_test::TTempDir dir;
    TRunningCopy first(TestOptions(dir));
    ASSERT_EQ(first.Role, TInstanceRole::irFirst);
    THelper second(dir, QStringList{"handoff", "3000"} + c.Args);
    EXPECT_EQ(second.Finish(), 11) << second.Output().toStdString();
    QStringList expected = c.Expected;
    expected.replaceInStrings(QStringLiteral("@"), Str(dir.Path()));
    EXPECT_EQ(first.Events, expected);
  }
}

TEST(SingleInstanceTest, MalformedMessagesAreIgnoredAndTheConnectionGoesOn) {
  struct TCase {
    const char* What;
    QByteArray Message;
  };
  const QByteArray fine("/runs/a.drf");
  const TCase cases[] = {
      {"wrong tag", EncodeMessage(42, fine)},
      {"raise with a payload", EncodeMessage(kTagRaise, fine)},
      {"empty name", NameMessage({})},
      {"NUL inside", NameMessage(QByteArray("/runs/a\0b.drf", 13))},
      {"invalid UTF-8", NameMessage("/runs/\xff.drf")},
      {"truncated UTF-8", NameMessage("/runs/\xc3")},
      {"overlong UTF-8", NameMessage("/runs/\xc0\xaf.drf")},
  };
  tw_test::TTempDir dir;
  TRunningCopy first(TestOptions(dir));
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    first.Events.clear();
    TRawClient client(first.Instance);
    ASSERT_TRUE(client.Connected);
    client.Send(c.Message);
    EXPECT_EQ(client.Answer(), kAckIgnored);
    client.Send(NameMessage(fine));
    EXPECT_EQ(client.Answer(), kAckHandled);
    EXPECT_EQ(first.Events, QStringList{"file /runs/a.drf"});
  }
}

TEST(SingleInstanceTest, OversizedMessageClosesOnlyThatConnection) {
  tw_test::TTempDir dir;
  TRunningCopy first(TestOptions(dir));
  TRawClient bad(first.Instance);
  // The header alone announces too much; the body never needs to come.
  bad.Send(EncodeMessage(kTagFileName, QByteArray(kMaxNameBytes + 1, 'a')).left(kHeaderBytes));
  EXPECT_EQ(bad.Answer(), -1);
  EXPECT_TRUE(bad.IsClosed());

  TRawClient good(first.Instance);
  const QByteArray longest = "/" + QByteArray(kMaxNameBytes - 1, 'n');
  good.Send(NameMessage(longest));
  EXPECT_EQ(good.Answer(), kAckHandled);
  EXPECT_EQ(first.Events, QStringList{"file " + QString::fromUtf8(longest)});
}

TEST(SingleInstanceTest, StalledClientBlocksNobodyAndIsDropped) {
  tw_test::TTempDir dir;
  TInstanceOptions options = TestOptions(dir);
  options.ClientMessageMs = 200;
  TRunningCopy first(options);
  TRawClient stalled(first.Instance);
  stalled.Send(NameMessage("/runs/never.drf").left(kHeaderBytes + 3));

  TRawClient good(first.Instance);
  good.Send(NameMessage("/runs/b.drf"));
  EXPECT_EQ(good.Answer(), kAckHandled);
  EXPECT_TRUE(stalled.IsClosed());
  EXPECT_EQ(first.Events, QStringList{"file /runs/b.drf"});
}

TEST(SingleInstanceTest, HandlerWithItsOwnEventLoopIsNotReentered) {
  // A message box shown while a name is handled runs an event loop; a name arriving then must
  // wait for the first to be done.
  tw_test::TTempDir dir;
  TSingleInstance instance(TestOptions(dir));
  ASSERT_EQ(instance.Start({}).Role, TInstanceRole::irFirst);
  std::unique_ptr<TRawClient> late;
  QStringList order;
  int depth = 0, deepest = 0;
  instance.SetHandlers(
      [&](const QString& name) {
        deepest = std::max(deepest, ++depth);
        order.append(name);
        if (name == QLatin1String("/runs/first.drf")) {
          late = std::make_unique<TRawClient>(instance);
          late->Send(NameMessage("/runs/late.drf"));
          SpinUntil([] { return false; }, 200);
        }
        --depth;
      },
      [] {});
  TRawClient client(instance);
  client.Send(NameMessage("/runs/first.drf"));
  EXPECT_EQ(client.Answer(), kAckHandled);
  ASSERT_TRUE(late);
  EXPECT_EQ(late->Answer(), kAckHandled);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(order, (QStringList{"/runs/first.drf", "/runs/late.drf"}));
}

TEST(SingleInstanceTest, MessagesWaitForTheHandlers) {
  // The window installs its handlers after it is built; a name sent before is not lost.
  tw_test::TTempDir dir;
  TSingleInstance instance(TestOptions(dir));
  ASSERT_EQ(instance.Start({}).Role, TInstanceRole::irFirst);
  TRawClient client(instance);
  client.Send(NameMessage("/runs/early.drf"));
  EXPECT_EQ(client.Answer(300), -1);
  QStringList names;
  instance.SetHandlers([&](const QString& name) { names.append(name); }, [] {});
  EXPECT_EQ(client.Answer(), kAckHandled);
  EXPECT_EQ(names, QStringList{"/runs/early.drf"});
}

TEST(SingleInstanceTest, LockOfACrashedCopyIsRecovered) {
  tw_test::TTempDir dir;
  {
    THelper crashed(dir, {"hold"});
    ASSERT_TRUE(crashed.WaitReady());
    ::kill(static_cast<pid_t>(crashed.Process().processId()), SIGKILL);
    EXPECT_EQ(crashed.Finish(), -1);
  }
  ASSERT_TRUE(QFileInfo::exists(Str(dir.Path() / "HVTRACEWELL_INSTANCE-") +
                                QString::number(::getuid()) + ".lock"));
  TRunningCopy first(TestOptions(dir));
  EXPECT_EQ(first.Role, TInstanceRole::irFirst);
  // The dead copy's socket is gone too: a later start reaches the new copy.
  THelper second(dir, {"handoff", "3000", "/runs/z.drf"});
  EXPECT_EQ(second.Finish(), 11);
  EXPECT_EQ(first.Events, (QStringList{"raise", "file /runs/z.drf"}));
}

TEST(SingleInstanceTest, LiveCopyKeepsItsLockHoweverOld) {
  tw_test::TTempDir dir;
  THelper running(dir, {"hold"});
  ASSERT_TRUE(running.WaitReady());
  TSingleInstance later(TestOptions(dir));
  const auto lockPath = std::filesystem::path(later.LockFileName().toStdString());
  std::filesystem::last_write_time(
      lockPath, std::filesystem::last_write_time(lockPath) - std::chrono::hours(2));
  const TInstanceStart start = later.Start({"/runs/old.drf"});
  EXPECT_EQ(start.Role, TInstanceRole::irHandedOver);
  EXPECT_TRUE(SpinUntil([&] { return running.Output().contains("file /runs/old.drf\n"); }));
}

TEST(SingleInstanceTest, UnreachableCopyFailsInBoundedTimeAndKeepsTheNames) {
  struct TCase {
    const char* What;
    bool Listens;  // a socket that accepts but never answers, or none at all
  };
  for (const TCase c : {TCase{"no socket", false}, TCase{"no answer", true}}) {
    SCOPED_TRACE(c.What);
    tw_test::TTempDir dir;
    TInstanceOptions options = TestOptions(dir);
    options.HandOffWindowMs = 300;
    options.AckTimeoutMs = 300;
    TSingleInstance later(options);
    QLockFile held(later.LockFileName());
    ASSERT_TRUE(held.tryLock(0));
    QLocalServer mute;
    if (c.Listens) {
      ASSERT_TRUE(mute.listen(later.ServerName()));
    }

    const TInstanceStart start = later.Start({"a.drf", "/runs/b.drf"});
    EXPECT_EQ(start.Role, TInstanceRole::irFailed);
    EXPECT_EQ(start.Pending,
              (QStringList{QDir::current().absoluteFilePath("a.drf"), "/runs/b.drf"}));
    EXPECT_FALSE(start.Error.isEmpty());
    EXPECT_FALSE(later.IsFirst());
  }
}

TEST(SingleInstanceTest, LockFreedDuringTheRetriesMakesThisTheRunningCopy) {
  tw_test::TTempDir dir;
  THelper leaving(dir, {"lockonly", "300"});
  ASSERT_TRUE(leaving.WaitReady());
  TSingleInstance later(TestOptions(dir));
  const TInstanceStart start = later.Start({"/runs/mine.drf"});
  EXPECT_EQ(start.Role, TInstanceRole::irFirst);
  EXPECT_EQ(start.Pending, QStringList{"/runs/mine.drf"});
  EXPECT_TRUE(later.IsFirst());
  EXPECT_EQ(leaving.Finish(), 0);
}

TEST(SingleInstanceTest, DecodeFileNameAcceptsOnlySaneNames) {
  struct TCase {
    QByteArray Payload;
    std::optional<QString> Expected;
  };
  const TCase cases[] = {
      {"/runs/r.drf", QStringLiteral("/runs/r.drf")},
      {"/runs/\xc3\xa9t\xc3\xa9.drf", QStringLiteral("/runs/\u00e9t\u00e9.drf")},
      {"\xef\xbb\xbf"
       "a",
       QStringLiteral("\ufeffa")},  // a leading BOM stays in the name
      {QByteArray(kMaxNameBytes, 'n'), QString(kMaxNameBytes, QLatin1Char('n'))},
      {QByteArray(kMaxNameBytes + 1, 'n'), std::nullopt},
      {"", std::nullopt},
      {QByteArray("a\0b", 3), std::nullopt},
      {"\xed\xa0\x80", std::nullopt},      // a lone surrogate
      {"\xf4\x90\x80\x80", std::nullopt},  // beyond U+10FFFF
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Payload.toHex().toStdString());
    EXPECT_EQ(DecodeFileName(c.Payload), c.Expected);
  }
}
