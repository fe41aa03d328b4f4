// The single-instance lock, in this process and across real program starts.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

#include "platform/singleinstance.h"

using namespace Qt::StringLiterals;

namespace {

// Restores an environment variable when the scope ends.
class EnvGuard {
public:
    explicit EnvGuard(const char* name) : m_name(name), m_set(qEnvironmentVariableIsSet(name)),
                                          m_value(qgetenv(name)) {}
    ~EnvGuard()
    {
        if (m_set)
            qputenv(m_name, m_value);
        else
            qunsetenv(m_name);
    }
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    const char* m_name;
    bool m_set;
    QByteArray m_value;
};

bool LockIsHeld(const QString& name)
{
    const CSingleInstance probe(name);
    return probe.AnotherIsRunning();
}

// Whether some process holds a flock on the lock file, read from
// /proc/locks without touching the lock: a probe that took the free lock for
// a moment could make a program starting at that moment leave as the second.
bool ProgramHoldsLock(const QString& name)
{
    struct stat info {};
    const QByteArray path = QFile::encodeName(CSingleInstance::LockFilePath(name));
    if (::stat(path.constData(), &info) != 0) return false;
    QFile locks(u"/proc/locks"_s);
    if (!locks.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    // "1: FLOCK  ADVISORY  WRITE 4242 00:2a:1234567 0 EOF": device:inode.
    const QByteArray inode = ":" + QByteArray::number(static_cast<qulonglong>(info.st_ino)) + " ";
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains("FLOCK") && line.contains(inode)) return true;
    return false;
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void lockFilePath_data();
    void lockFilePath();
    void secondHolderSeesFirst();
    void unusableDirectoryStillRuns();
    void secondProcessExitsAtOnce();
    void startAfterKilledFirst();

private:
    std::unique_ptr<QProcess> StartProgram();
};

void TestSingleInstance::initTestCase()
{
    // ctest names a per-program runtime directory; it must exist, owner-only.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

void TestSingleInstance::lockFilePath_data()
{
    QTest::addColumn<bool>("runtimeExists");
    QTest::addColumn<bool>("runtimeSet");

    QTest::newRow("XDG_RUNTIME_DIR set and present") << true << true;
    QTest::newRow("XDG_RUNTIME_DIR names a missing directory") << false << true;
    QTest::newRow("XDG_RUNTIME_DIR unset") << false << false;
}

void TestSingleInstance::lockFilePath()
{
    QFETCH(bool, runtimeExists);
    QFETCH(bool, runtimeSet);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString runtime = runtimeExists ? dir.path() : dir.filePath(u"missing"_s);
    const EnvGuard guard("XDG_RUNTIME_DIR");
    if (runtimeSet)
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    else
        qunsetenv("XDG_RUNTIME_DIR");

    const QString path = CSingleInstance::LockFilePath(u"QOVOnlyOne"_s);
    if (runtimeExists) {
        QCOMPARE(path, QDir(runtime).filePath(u"QOVOnlyOne.lock"_s));
    } else {
        // Qt's runtime location (which Qt makes when missing) or the /tmp
        // fallback: either way a file in a directory that exists.
        QVERIFY2(QFileInfo(path).fileName().startsWith(u"QOVOnlyOne"_s), qPrintable(path));
        QVERIFY2(QFileInfo(QFileInfo(path).path()).isDir(), qPrintable(path));
    }
}

void TestSingleInstance::secondHolderSeesFirst()
{
    const QString name = u"QOVTestLock"_s;
    auto first = std::make_unique<CSingleInstance>(name);
    QVERIFY(!first->AnotherIsRunning());
    QVERIFY(LockIsHeld(name));
    QVERIFY(LockIsHeld(name));  // a refused probe does not disturb the holder
    first.reset();
    QVERIFY(!LockIsHeld(name));
    QVERIFY(!LockIsHeld(name));  // a probe that got the lock gave it back
}

// A lock file that cannot be opened (a directory in its place) lets the
// program run instead of treating the failure as another instance.
void TestSingleInstance::unusableDirectoryStillRuns()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const EnvGuard guard("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    QVERIFY(QDir(dir.path()).mkdir(u"Blocked.lock"_s));
    const CSingleInstance first(u"Blocked"_s);
    QVERIFY(!first.AnotherIsRunning());
    const CSingleInstance second(u"Blocked"_s);
    QVERIFY(!second.AnotherIsRunning());
}

std::unique_ptr<QProcess> TestSingleInstance::StartProgram()
{
    auto process = std::make_unique<QProcess>();
    process->setProgram(QStringLiteral(QOV_APP_PATH));
    // Without a display as well, whoever starts the test.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start();
    return process;
}

void TestSingleInstance::secondProcessExitsAtOnce()
{
    const QString name = u"QOVOnlyOne"_s;
    QVERIFY(!LockIsHeld(name));
    auto first = StartProgram();
    QVERIFY(first->waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(ProgramHoldsLock(name), 10000);

    QElapsedTimer clock;
    clock.start();
    auto second = StartProgram();
    QVERIFY(second->waitForFinished(5000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));

    QCOMPARE(first->state(), QProcess::Running);  // left alone
    QVERIFY(ProgramHoldsLock(name));
    first->kill();
    QVERIFY(first->waitForFinished(5000));
}

void TestSingleInstance::startAfterKilledFirst()
{
    const QString name = u"QOVOnlyOne"_s;
    auto first = StartProgram();
    QVERIFY(first->waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(ProgramHoldsLock(name), 10000);
    first->kill();  // SIGKILL: no clean-up code runs
    QVERIFY(first->waitForFinished(5000));
    QCOMPARE(first->exitStatus(), QProcess::CrashExit);

    QVERIFY(!ProgramHoldsLock(name));  // the kernel let go of the lock
    auto next = StartProgram();
    QVERIFY(next->waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(ProgramHoldsLock(name), 10000);
    QCOMPARE(next->state(), QProcess::Running);
    QVERIFY(LockIsHeld(name));
    next->kill();
    QVERIFY(next->waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
