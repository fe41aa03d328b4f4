// How a second start reaches the running copy: a local socket beside the
// single-instance lock (<runtime dir>/QOVOnlyOne.socket on Linux, a named
// pipe on Windows). A request is one UTF-8 line: "show" to bring the window
// to the front on today, "show YYYY-MM-DD" on that date, or "start" when the
// second start asks for no window (qov --tray). The running copy answers
// "ok" once it has done it.
#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "gregorian.h"

class QLocalServer;

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
    bool IsListening() const;

Q_SIGNALS:
    void requested(const InstanceRequest& request);

private:
    void OnConnection();

    QLocalServer* m_server;
};

// The second start's end: hands `request` to the running copy and waits
// for its answer. False when no copy answered within `timeoutMs`.
bool HandOver(const QString& name, const InstanceRequest& request, int timeoutMs);
