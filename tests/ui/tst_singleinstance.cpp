// The single-instance lock, in this process and across real program starts.
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

#include "platform/singleinstance.h"

using namespace Qt::StringLiterals;

namespace {

// Whether some process holds a flock on the program's lock file, read from
// /proc/locks ("1: FLOCK ADVISORY WRITE 4242 00:2a:1234567 0 EOF"): probing by
// taking the lock could make a program starting at that moment leave.
bool ProgramHoldsLock()
{
    struct stat info { };
    const QByteArray path = QFile::encodeName(CSingleInstance::LockFilePath(u"QOVOnlyOne"_s));
    QFile locks(u"/proc/locks"_s);
    if (::stat(path.constData(), &info) != 0 || !locks.open(QIODevice::ReadOnly)) return false;
    const QByteArray inode = ":" + QByteArray::number(static_cast<qulonglong>(info.st_ino)) + " ";
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains("FLOCK") && line.contains(inode)) return true;
    return false;
}

void StartProgram(QProcess& process)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(QOV_APP_PATH), {});
    QVERIFY(process.waitForStarted(5000));
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // ctest names a per-program runtime directory; it must exist, owner-only.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QVERIFY(runtime.isEmpty() || QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(
            "QT_QPA_PLATFORM", "offscreen");  // for the programs started, whoever starts the test
    }

    void inProcess()
    {
        {
            const CSingleInstance first(u"QOVTestLock"_s);
            QVERIFY(!first.AnotherIsRunning());
            QVERIFY(CSingleInstance(u"QOVTestLock"_s).AnotherIsRunning());
        }
        QVERIFY(!CSingleInstance(u"QOVTestLock"_s).AnotherIsRunning());  // released with its holder
        // A lock file that cannot be opened (a directory in its place) lets the
        // program run instead of counting as another instance.
        QTemporaryDir dir;
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        QVERIFY(QDir(dir.path()).mkdir(u"Blocked.lock"_s));
        const CSingleInstance blocked(u"Blocked"_s);
        QVERIFY(!blocked.AnotherIsRunning() && !CSingleInstance(u"Blocked"_s).AnotherIsRunning());
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }

    // A second start leaves at once while the first runs; a start after the
    // first was killed (kill -9, no clean-up code runs) takes over.
    void programStarts()
    {
        QVERIFY(!ProgramHoldsLock());
        QProcess first, second, next;
        StartProgram(first);
        QTRY_VERIFY_WITH_TIMEOUT(ProgramHoldsLock(), 10000);
        QElapsedTimer clock;
        clock.start();
        StartProgram(second);
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(first.state(), QProcess::Running);  // left alone

        first.kill();
        QVERIFY(first.waitForFinished(5000));
        QVERIFY(!ProgramHoldsLock());  // the kernel let go of the lock
        StartProgram(next);
        QTRY_VERIFY_WITH_TIMEOUT(ProgramHoldsLock(), 10000);
        QTest::qWait(300);
        QCOMPARE(next.state(), QProcess::Running);  // it stayed: not taken for a second copy
        next.kill();
        QVERIFY(next.waitForFinished(5000));
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
