#pragma once

// One running copy of the program per user. The first start holds a lock file and listens on a
// local socket; a later start finds the lock taken, connects and hands its file names to the
// running copy, one message per name in command-line order, each answered only after the
// running copy has handled it. Both the lock and the socket live in the user's runtime folder
// and carry the user id in their names, and the socket admits the same user only.
//
// Message on the socket: tag (4 bytes) and payload length (4 bytes), both little-endian, then
// the payload. The running copy answers every well-framed message with one byte: kAckHandled
// or kAckIgnored. A header announcing more than kMaxNameBytes closes the connection.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLocalServer;
class QLockFile;

namespace tw_instance {

inline constexpr std::uint32_t kTagFileName = 1027;  // payload: one file name, UTF-8
inline constexpr std::uint32_t kTagRaise = 1028;     // no payload: bring the window to the front
inline constexpr int kHeaderBytes = 8;
inline constexpr int kMaxNameBytes = 4096;
inline constexpr char kAckIgnored = 0;
inline constexpr char kAckHandled = 1;

// The framed bytes of one message.
QByteArray EncodeMessage(std::uint32_t tag, const QByteArray& payload);
// The file name a payload carries, or nothing when it is empty, longer than kMaxNameBytes,
// not valid UTF-8 or holds a NUL.
std::optional<QString> DecodeFileName(const QByteArray& payload);

}  // namespace tw_instance

// Where the lock and the socket are and how long each step may take. The defaults suit the
// program; tests shorten the times and use a folder of their own.
struct TInstanceOptions {
  QString Key = QStringLiteral("HVTRACEWELL_INSTANCE");
  QString Folder;               // empty: the user's runtime folder, else the temporary folder
  int HandOffWindowMs = 10000;  // how long a later start keeps trying to reach the first
  int RetryIntervalMs = 100;    // pause between two tries
  int ConnectTimeoutMs = 1000;  // one connection attempt
  int AckTimeoutMs = 60000;     // one name being handled (may include a message box)
  int ClientMessageMs = 5000;   // a client must complete each message within this time
  int MaxConnections = 8;       // clients served at once; more are turned away
};

enum class TInstanceRole {
  irFirst,       // this is the running copy: build the window and load Pending yourself
  irHandedOver,  // every name reached the running copy; end the program
  irFailed,      // the running copy could not be reached; Pending were not handed over
};

struct TInstanceStart {
  TInstanceRole Role = TInstanceRole::irFailed;
  QStringList Pending;  // names still to load (irFirst) or not handed over (irFailed)
  QString Error;        // irFailed: why; irFirst: a warning when hand-offs cannot be received
};

class TSingleInstance {
 public:
  using TFileNameHandler = std::function<void(const QString&)>;
  using TRaiseHandler = std::function<void()>;

  explicit TSingleInstance(TInstanceOptions options = {});
  // Stops listening and releases the lock.
  ~TSingleInstance();
  TSingleInstance(const TSingleInstance&) = delete;
  TSingleInstance& operator=(const TSingleInstance&) = delete;

  // Becomes the running copy, or hands `fileNames` to the running copy (names made absolute
  // against this process's folder), retrying for HandOffWindowMs. Needs a QCoreApplication.
  TInstanceStart Start(const QStringList& fileNames);

  // Running copy only: the handlers of received names and raise requests, called from the
  // event loop one message at a time. Messages that arrived earlier are handled from the next
  // turn of the event loop on; until then their senders wait.
  void SetHandlers(TFileNameHandler onFileName, TRaiseHandler onRaise);

  // True once Start made this the running copy.
  bool IsFirst() const { return FFirst; }
  QString LockFileName() const { return FLockFileName; }
  QString ServerName() const { return FServerName; }

 private:
  struct TConnection;
  enum class THandOff { hoDone, hoRetry, hoNoAnswer };

  bool TryBecomeFirst(TInstanceStart& result);
  THandOff HandOff(QStringList& pending, QString& error);
  void Accept();
  void Pump();
  bool PumpOne(TConnection& conn);
  void Close(TConnection& conn);
  void Reap();

  TInstanceOptions FOptions;
  QString FLockFileName;
  QString FServerName;
  std::unique_ptr<QLockFile> FLock;
  std::unique_ptr<QLocalServer> FServer;
  std::vector<std::unique_ptr<TConnection>> FConnections;
  TFileNameHandler FOnFileName;
  TRaiseHandler FOnRaise;
  bool FFirst = false;
  bool FHandlersSet = false;
  bool FBusy = false;
};
