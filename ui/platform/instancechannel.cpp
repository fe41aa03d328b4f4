#include "platform/instancechannel.h"

#include <QDate>
#include <QDeadlineTimer>
#include <QThread>
#ifdef Q_OS_WIN
#include <QLocalServer>
#include <QLocalSocket>
#else
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

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

#ifdef Q_OS_WIN

CInstanceServer::CInstanceServer(const QString& name, QObject* parent)
    : QObject(parent), m_server(new QLocalServer(this))
{
    const QString address = ChannelName(name);
    QLocalServer::removeServer(address);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->listen(address);
    connect(m_server, &QLocalServer::newConnection, this, &CInstanceServer::OnConnection);
}

CInstanceServer::~CInstanceServer() = default;

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

#else

namespace {

// The socket's address, or false when the path does not fit.
bool MakeAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray bytes = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

// One second start's connection: reads its line, answers, and goes.
class Connection : public QObject {
public:
    Connection(int fd, CInstanceServer* server)
        : QObject(server), m_fd(fd), m_notifier(fd, QSocketNotifier::Read, this)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this, server] { Read(server); });
    }
    ~Connection() override { ::close(m_fd); }

private:
    void Read(CInstanceServer* server)
    {
        char buffer[MaxLine + 1];
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) return;
        if (got > 0) m_line.append(buffer, got);
        const qsizetype end = m_line.indexOf('\n');
        if (end < 0 && got > 0 && m_line.size() <= MaxLine) return;  // more to come
        m_notifier.setEnabled(false);
        deleteLater();
        if (end < 0) return;  // closed early, or too long for a request
        const std::optional<InstanceRequest> request =
            ReadRequest(QString::fromUtf8(m_line.left(end)).trimmed());
        const char* answer = request ? "ok\n" : "?\n";
        [[maybe_unused]] const ssize_t sent = ::send(m_fd, answer, 3, MSG_NOSIGNAL);
        if (request) Q_EMIT server->requested(*request);
    }

    int m_fd;
    QSocketNotifier m_notifier;
    QByteArray m_line;
};

}  // namespace

CInstanceServer::CInstanceServer(const QString& name, QObject* parent) : QObject(parent)
{
    sockaddr_un address;
    if (!MakeAddress(ChannelName(name), address)) return;
    m_path = address.sun_path;
    ::unlink(address.sun_path);  // what a killed copy left
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0) return;
    // Only this user may connect (the runtime folder is private too).
    ::fchmod(m_fd, S_IRUSR | S_IWUSR);
    const mode_t mask = ::umask(S_IRWXG | S_IRWXO);
    const bool bound =
        ::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(m_fd, 8) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CInstanceServer::OnConnection);
}

CInstanceServer::~CInstanceServer()
{
    if (m_fd < 0) return;
    delete m_notifier;
    ::close(m_fd);
    ::unlink(m_path.constData());
}

bool CInstanceServer::IsListening() const { return m_fd >= 0; }

void CInstanceServer::OnConnection()
{
    while (true) {
        const int fd = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        new Connection(fd, this);
    }
}

bool HandOver(const QString& name, const InstanceRequest& request, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    sockaddr_un address;
    if (!MakeAddress(ChannelName(name), address)) return false;
    const QByteArray line = (RequestText(request) + u'\n').toUtf8();
    // The first copy may hold the lock a moment before it listens.
    while (true) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
            QByteArray answer;
            bool sent =
                ::send(fd, line.constData(), static_cast<std::size_t>(line.size()), MSG_NOSIGNAL)
                == line.size();
            pollfd wait{fd, POLLIN, 0};
            while (sent && !answer.contains('\n') && answer.size() <= MaxLine
                && ::poll(&wait, 1, static_cast<int>(deadline.remainingTime())) > 0) {
                char buffer[MaxLine];
                const ssize_t got = ::read(fd, buffer, sizeof buffer);
                if (got <= 0) break;
                answer.append(buffer, got);
            }
            ::close(fd);
            return answer.startsWith("ok");
        }
        ::close(fd);
        if (deadline.hasExpired()) return false;
        QThread::msleep(50);
    }
}

#endif
