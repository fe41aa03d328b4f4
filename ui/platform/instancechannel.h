// How a second start reaches the running copy: a local socket beside the
// single-instance lock (<runtime dir>/QOVOnlyOne.socket on Linux, a named
// pipe on Windows). A request is one UTF-8 line: "show" to bring the window
// to the front on today, "show YYYY-MM-DD" on that date, or "start" when the
// second start asks for no window (qov --tray). The running copy answers
// "ok" once it has done it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

#include "gregorian.h"

class QLocalServer;
class QSocketNotifier;

struct InstanceRequest {
    bool show = false;
    std::optional<qov::SolarDate> date;
};

// The request's line, and back; none for a line that is no request.
QString RequestText(const InstanceRequest& request);
std::optional<InstanceRequest> ReadRequest(const QString& line);

// The channel's address for the lock called `name`.
QString ChannelName(const QString& name);

// The running copy's end. Listening removes what a killed copy left behind:
// the caller holds the lock, so no other copy can be listening there.
class CInstanceServer : public QObject {
    Q_OBJECT

public:
    explicit CInstanceServer(const QString& name, QObject* parent = nullptr);
    ~CInstanceServer() override;
    bool IsListening() const;

Q_SIGNALS:
    void requested(const InstanceRequest& request);

private:
    void OnConnection();

#ifdef Q_OS_WIN
    QLocalServer* m_server;
#else
    // A plain Unix socket: Qt's local sockets would load Qt Network at every
    // start, for one line a second start sends.
    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_path;
#endif
};

// The second start's end: hands `request` to the running copy and waits
// for its answer. False when no copy answered within `timeoutMs`.
bool HandOver(const QString& name, const InstanceRequest& request, int timeoutMs);
