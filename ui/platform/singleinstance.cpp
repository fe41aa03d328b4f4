#include "platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#ifndef NOMINMAX  // MinGW's libstdc++ defines it already
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

QString CSingleInstance::LockFilePath(const QString& name)
{
#ifdef Q_OS_WIN
    return name;  // a kernel object name, not a file
#else
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        return QStringLiteral("/tmp/%1-%2").arg(name).arg(::getuid());
    return QDir(dir).filePath(name + QStringLiteral(".lock"));
#endif
}

#ifdef Q_OS_WIN

CSingleInstance::CSingleInstance(const QString& name)
{
    const QByteArray mutexName = name.toLatin1();
    m_mutex = ::CreateMutexA(nullptr, FALSE, mutexName.constData());
    if (m_mutex != nullptr && ::GetLastError() == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(m_mutex);
        m_mutex = nullptr;
        m_heldElsewhere = true;
    }
}

CSingleInstance::~CSingleInstance()
{
    if (m_mutex != nullptr) ::CloseHandle(m_mutex);
}

#else

CSingleInstance::CSingleInstance(const QString& name)
{
    const QByteArray path = QFile::encodeName(LockFilePath(name));
    // O_NOFOLLOW: in a shared directory such as /tmp another user could plant
    // a symbolic link under our name.
    m_fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) return;
    // flock locks belong to the open file description: the kernel drops the
    // lock when the holder dies, also by SIGKILL, so a stale file never
    // blocks a later start.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        m_heldElsewhere = (errno == EWOULDBLOCK);
        ::close(m_fd);
        m_fd = -1;
    }
}

CSingleInstance::~CSingleInstance()
{
    if (m_fd >= 0) ::close(m_fd);  // closing releases the lock
}

#endif
