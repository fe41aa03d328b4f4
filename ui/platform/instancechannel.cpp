#include "platform/instancechannel.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include "platform/singleinstance.h"

using namespace Qt::StringLiterals;

namespace {

// A request line is short; anything longer is not one of ours.
constexpr qint64 MaxLine = 64;

}  // namespace

QString RequestText(const InstanceRequest& request)
{
    if (!request.show) return u"start"_s;
    if (!request.date) return u"show"_s;
    const qov::SolarDate d = *request.date;
    return u"show "_s + QDate(d.year, d.month, d.day).toString(Qt::ISODate);
}

std::optional<InstanceRequest> ReadRequest(const QString& line)
{
    if (line == u"start"_s) return InstanceRequest{};
    if (line == u"show"_s) return InstanceRequest{true, std::nullopt};
    if (!line.startsWith(u"show "_s)) return std::nullopt;
    const QDate date = QDate::fromString(line.mid(5), Qt::ISODate);
    if (!date.isValid()) return std::nullopt;
    return InstanceRequest{true, qov::SolarDate{date.year(), date.month(), date.day()}};
}

QString ChannelName(const QString& name)
{
#ifdef Q_OS_WIN
    return name;  // a pipe name, private to the session
#else
    QString path = CSingleInstance::LockFilePath(name);
    if (path.endsWith(u".lock"_s)) path.chop(5);
    return path + u".socket"_s;
#endif
}

CInstanceServer::CInstanceServer(const QString& name, QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this))
{
    const QString address = ChannelName(name);
    QLocalServer::removeServer(address);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(address);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceServer::OnConnection);
}

bool CInstanceServer::IsListening() const { return m_server->isListening(); }

void CInstanceServer::OnConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > MaxLine) socket->abort();
                return;
            }
            const QString line = QString::fromUtf8(socket->readLine(MaxLine)).trimmed();
            const std::optional<InstanceRequest> request = ReadRequest(line);
            socket->write(request ? "ok\n" : "?\n");
            socket->disconnectFromServer();
            if (request) Q_EMIT requested(*request);
        });
    }
}

bool HandOver(const QString& name, const InstanceRequest& request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    const QString address = ChannelName(name);
    // The first copy may hold the lock a moment before it listens.
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(address);
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write((RequestText(request) + u'\n').toUtf8());
            while (!socket.canReadLine()
                && socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) { }
            return socket.readLine(MaxLine).startsWith("ok");
        }
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
}
