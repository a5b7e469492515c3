#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QThread>
#include <QTimer>
#include <QtEndian>

#include <algorithm>

#include <unistd.h>

namespace tw_instance {

QByteArray EncodeMessage(std::uint32_t tag, const QByteArray& payload) {
  QByteArray bytes(kHeaderBytes, '\0');
  qToLittleEndian<std::uint32_t>(tag, bytes.data());
  qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(payload.size()), bytes.data() + 4);
  return bytes + payload;
}

std::optional<QString> DecodeFileName(const QByteArray& payload) {
  if (payload.isEmpty() || payload.size() > kMaxNameBytes || payload.contains('\0')) return {};
  // A leading byte-order mark is a character of the name, not a marker to drop.
  QStringDecoder decoder(QStringDecoder::Utf8,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  QString name = decoder.decode(payload);
  if (decoder.hasError()) return {};
  return name;
}

}  // namespace tw_instance

using namespace tw_instance;

namespace {

// sockaddr_un holds 108 bytes with the terminating zero; keep a margin.
constexpr qsizetype kMaxSocketPathBytes = 100;

// The names a later start sends: absolute, because the running copy works in another folder,
// and within what a message may carry.
QStringList SendableNames(const QStringList& fileNames) {
  QStringList names;
  for (const QString& name : fileNames) {
    if (name.isEmpty()) continue;
    const QString absolute = QFileInfo(name).absoluteFilePath();
    if (DecodeFileName(absolute.toUtf8())) names.append(absolute);
  }
  return names;
}

enum class TSend { sAcked, sBroken, sNoAnswer };

// Writes one message and waits for its answer byte; sNoAnswer when the running copy keeps the
// connection open but does not answer in time.
TSend SendOne(QLocalSocket& socket, const QByteArray& message, int timeoutMs) {
  QDeadlineTimer deadline(timeoutMs);
  socket.write(message);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
      return socket.state() == QLocalSocket::ConnectedState && deadline.hasExpired()
                 ? TSend::sNoAnswer
                 : TSend::sBroken;
    }
  }
  while (socket.bytesAvailable() < 1) {
    if (socket.state() != QLocalSocket::ConnectedState) return TSend::sBroken;
    if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      if (socket.state() != QLocalSocket::ConnectedState) return TSend::sBroken;
      if (deadline.hasExpired()) return TSend::sNoAnswer;
    }
  }
  char ack = 0;
  socket.read(&ack, 1);
  return TSend::sAcked;
}

}  // namespace

struct TSingleInstance::TConnection {
  QLocalSocket* Socket = nullptr;  // owned by the server; deleted when reaped
  QTimer* Timer = nullptr;         // child of Socket: a message must be complete in time
  QByteArray Buffer;               // the message being received, at most header + name
  bool Closed = false;
};

TSingleInstance::TSingleInstance(TInstanceOptions options) : FOptions(std::move(options)) {
  // A negative time would mean "wait forever" to Qt's waits.
  for (int* ms : {&FOptions.HandOffWindowMs, &FOptions.RetryIntervalMs, &FOptions.ConnectTimeoutMs,
                  &FOptions.AckTimeoutMs, &FOptions.ClientMessageMs})
    *ms = std::max(*ms, 0);
  QString folder = FOptions.Folder;
  if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  QDir().mkpath(folder);
  // The user id keeps the copies of different users apart even in a shared folder.
  const QString base = FOptions.Key + QLatin1Char('-') + QString::number(::getuid());
  FLockFileName = QDir(folder).filePath(base + QStringLiteral(".lock"));
  FServerName = QDir(folder).filePath(base + QStringLiteral(".socket"));
  // A socket path too long for the platform falls back to a plain name, which Qt places in
  // the temporary folder.
  if (QFile::encodeName(FServerName).size() > kMaxSocketPathBytes) FServerName = base;
}

TSingleInstance::~TSingleInstance() {
  for (auto& conn : FConnections)
    Close(*conn);
  FBusy = false;
  Reap();
  if (FServer) FServer->close();
  FServer.reset();
  if (FLock) FLock->unlock();
}

TInstanceStart TSingleInstance::Start(const QStringList& fileNames) {
  TInstanceStart result;
  QStringList pending = SendableNames(fileNames);
  if (FFirst) {
    // Already the running copy: handing names to ourselves would only wait for our own loop.
    result.Role = TInstanceRole::irFirst;
    result.Pending = pending;
    return result;
  }
  const QDeadlineTimer deadline(FOptions.HandOffWindowMs);
  for (;;) {
    // Tried on every round: a first copy that ended or died meanwhile leaves the role to us.
    if (TryBecomeFirst(result)) {
      result.Role = TInstanceRole::irFirst;
      result.Pending = pending;
      return result;
    }
    QString error;
    switch (HandOff(pending, error)) {
      case THandOff::hoDone:
        result.Role = TInstanceRole::irHandedOver;
        return result;
      case THandOff::hoNoAnswer:
        result.Role = TInstanceRole::irFailed;
        result.Pending = pending;
        result.Error = error;
        return result;
      case THandOff::hoRetry:
        break;
    }
    if (deadline.hasExpired()) {
      result.Role = TInstanceRole::irFailed;
      result.Pending = pending;
      result.Error = error.isEmpty()
                         ? QStringLiteral("Tracewell is already running but could not be reached.")
                         : error;
      return result;
    }
    const qint64 pause = std::min<qint64>(FOptions.RetryIntervalMs, deadline.remainingTime());
    QThread::msleep(static_cast<unsigned long>(std::max<qint64>(pause, 1)));
  }
}

bool TSingleInstance::TryBecomeFirst(TInstanceStart& result) {
  auto lock = std::make_unique<QLockFile>(FLockFileName);
  // The lock is held for the whole session, so its age says nothing; only a holder that no
  // longer runs makes it stale.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0)) {
    if (lock->error() == QLockFile::LockFailedError) return false;
    // No lock can be made here at all: run unguarded rather than not at all.
    FFirst = true;
    result.Error = QStringLiteral(
                       "The single-instance lock %1 could not be created; files "
                       "opened by a later start will open another window.")
                       .arg(FLockFileName);
    return true;
  }
  FLock = std::move(lock);
  FFirst = true;
  // Holding the lock, any socket of that name is left over from a copy that died.
  QLocalServer::removeServer(FServerName);
  FServer = std::make_unique<QLocalServer>();
  FServer->setSocketOptions(QLocalServer::UserAccessOption);
  if (!FServer->listen(FServerName)) {
    result.Error = QStringLiteral("Files opened by a later start cannot be received: %1")
                       .arg(FServer->errorString());
    FServer.reset();
    return true;
  }
  QObject::connect(FServer.get(), &QLocalServer::newConnection, FServer.get(),
                   [this] { Accept(); });
  return true;
}

TSingleInstance::THandOff TSingleInstance::HandOff(QStringList& pending, QString& error) {
  QLocalSocket socket;
  socket.connectToServer(FServerName);
  if (!socket.waitForConnected(FOptions.ConnectTimeoutMs)) {
    error = QStringLiteral("Tracewell is already running but does not accept files (%1).")
                .arg(socket.errorString());
    return THandOff::hoRetry;
  }
  const QString noAnswer = QStringLiteral("The running Tracewell did not answer.");
  // The window comes to the front first, as it should when no name follows.
  switch (SendOne(socket, EncodeMessage(kTagRaise, {}), FOptions.AckTimeoutMs)) {
    case TSend::sAcked:
      break;
    case TSend::sBroken:
      error = QStringLiteral("The running Tracewell closed the connection.");
      return THandOff::hoRetry;
    case TSend::sNoAnswer:
      error = noAnswer;
      return THandOff::hoNoAnswer;
  }
  while (!pending.isEmpty()) {
    switch (SendOne(socket, EncodeMessage(kTagFileName, pending.front().toUtf8()),
                    FOptions.AckTimeoutMs)) {
      case TSend::sAcked:
        pending.removeFirst();
        break;
      case TSend::sBroken:
        // The name may not have been handled; it is sent again to whoever runs next.
        error = QStringLiteral("The running Tracewell closed the connection.");
        return THandOff::hoRetry;
      case TSend::sNoAnswer:
        error = noAnswer;
        return THandOff::hoNoAnswer;
    }
  }
  socket.disconnectFromServer();
  return THandOff::hoDone;
}

void TSingleInstance::SetHandlers(TFileNameHandler onFileName, TRaiseHandler onRaise) {
  FOnFileName = std::move(onFileName);
  FOnRaise = std::move(onRaise);
  FHandlersSet = true;
  if (FServer) QTimer::singleShot(0, FServer.get(), [this] { Pump(); });
}

void TSingleInstance::Accept() {
  while (QLocalSocket* socket = FServer->nextPendingConnection()) {
    const auto open = std::count_if(FConnections.begin(), FConnections.end(),
                                    [](const auto& conn) { return !conn->Closed; });
    if (open >= FOptions.MaxConnections) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    auto conn = std::make_unique<TConnection>();
    TConnection* c = conn.get();
    c->Socket = socket;
    // Qt's buffer never holds more than one message; the rest waits in the system.
    socket->setReadBufferSize(kHeaderBytes + kMaxNameBytes);
    c->Timer = new QTimer(socket);
    c->Timer->setSingleShot(true);
    c->Timer->setInterval(FOptions.ClientMessageMs);
    QObject::connect(c->Timer, &QTimer::timeout, socket, [this, c] {
      Close(*c);
      Reap();
    });
    QObject::connect(socket, &QLocalSocket::readyRead, socket, [this] { Pump(); });
    QObject::connect(socket, &QLocalSocket::disconnected, socket, [this, c] {
      c->Closed = true;
      Pump();
    });
    c->Timer->start();
    FConnections.push_back(std::move(conn));
  }
  Pump();
}

void TSingleInstance::Pump() {
  // A handler may run an event loop (a message box); messages arriving meanwhile wait until it
  // returns, so names are handled one at a time and in order.
  if (FBusy) return;
  FBusy = true;
  struct TBusyGuard {
    bool& Busy;
    ~TBusyGuard() { Busy = false; }
  } guard{FBusy};
  for (bool progress = true; progress;) {
    progress = false;
    // By index: a handler's event loop may accept new connections.
    for (std::size_t i = 0; i < FConnections.size(); ++i) {
      TConnection& conn = *FConnections[i];
      if (!conn.Closed && PumpOne(conn)) progress = true;
    }
  }
  FBusy = false;
  Reap();
}

bool TSingleInstance::PumpOne(TConnection& conn) {
  QLocalSocket& socket = *conn.Socket;
  if (conn.Buffer.size() < kHeaderBytes) {
    conn.Buffer += socket.read(kHeaderBytes - conn.Buffer.size());
    if (conn.Buffer.size() < kHeaderBytes) return false;
  }
  const auto tag = qFromLittleEndian<std::uint32_t>(conn.Buffer.constData());
  const auto length = qFromLittleEndian<std::uint32_t>(conn.Buffer.constData() + 4);
  if (length > static_cast<std::uint32_t>(kMaxNameBytes)) {
    Close(conn);  // no reason to read on; the client is not ours
    return false;
  }
  const qsizetype total = kHeaderBytes + static_cast<qsizetype>(length);
  if (conn.Buffer.size() < total) {
    conn.Buffer += socket.read(total - conn.Buffer.size());
    if (conn.Buffer.size() < total) return false;
  }
  // Complete: from here on the wait is ours, not the client's.
  conn.Timer->stop();
  if (!FHandlersSet) return false;
  const QByteArray payload = conn.Buffer.mid(kHeaderBytes);
  conn.Buffer.clear();
  char ack = kAckIgnored;
  if (tag == kTagFileName) {
    if (const auto name = DecodeFileName(payload)) {
      if (FOnFileName) FOnFileName(*name);
      ack = kAckHandled;
    }
  } else if (tag == kTagRaise && payload.isEmpty()) {
    if (FOnRaise) FOnRaise();
    ack = kAckHandled;
  }
  if (!conn.Closed && socket.state() == QLocalSocket::ConnectedState) {
    socket.write(&ack, 1);
    socket.flush();
    conn.Timer->start();
  }
  return true;
}

void TSingleInstance::Close(TConnection& conn) {
  conn.Closed = true;
  conn.Timer->stop();
  // Quietly: the socket's own disconnect signal would reach Pump while we are inside it.
  QObject::disconnect(conn.Timer, nullptr, nullptr, nullptr);
  QObject::disconnect(conn.Socket, nullptr, nullptr, nullptr);
  conn.Socket->abort();
}

void TSingleInstance::Reap() {
  if (FBusy) return;
  std::erase_if(FConnections, [](const std::unique_ptr<TConnection>& conn) {
    if (!conn->Closed) return false;
    conn->Timer->stop();
    QObject::disconnect(conn->Timer, nullptr, nullptr, nullptr);
    QObject::disconnect(conn->Socket, nullptr, nullptr, nullptr);
    conn->Socket->abort();
    conn->Socket->deleteLater();
    return true;
  });
}
