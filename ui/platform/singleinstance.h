// One running copy per user session: the first process holds a named lock
// for its whole life, later ones see it taken and leave.
#pragma once

#include <QString>

class CSingleInstance {
public:
    // Takes the lock called `name` (for example "QOVOnlyOne"). The lock is
    // released when this object is destroyed or the process ends, however it
    // ends.
    explicit CSingleInstance(const QString& name);
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // True only when another process holds the lock. A lock that could not
    // be made at all (no writable directory, no mutex) counts as "not held":
    // the program then runs rather than refusing to start.
    bool AnotherIsRunning() const noexcept { return m_heldElsewhere; }

    // The lock file used on Linux for `name`: <runtime dir>/<name>.lock with
    // the runtime dir from $XDG_RUNTIME_DIR, else Qt's runtime location,
    // else /tmp/<name>-<uid> itself.
    static QString LockFilePath(const QString& name);

private:
#ifdef Q_OS_WIN
    void* m_mutex = nullptr;  // HANDLE of the named mutex
#else
    int m_fd = -1;
#endif
    bool m_heldElsewhere = false;
};
