// Choice of the desktop's date-and-time panel, and the settings button
// starting the panel found first on $PATH.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "calendardlg.h"
#include "platform/settingslauncher.h"

using namespace Qt::StringLiterals;

class TestSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void choosePanel_data();
    void choosePanel();
    void buttonStartsPanel();
};

void TestSettings::choosePanel_data()
{
    QTest::addColumn<QString>("desktop");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("program");  // empty: no panel
    QTest::addColumn<QStringList>("arguments");

    const QStringList everything = {u"gnome-control-center"_s, u"systemsettings"_s,
                                    u"kcmshell6"_s,  u"kcmshell5"_s,
                                    u"cinnamon-settings"_s, u"mate-time-admin"_s,
                                    u"lxqt-admin-time"_s, u"budgie-control-center"_s,
                                    u"ukui-control-center"_s, u"time-admin"_s};
    QTest::newRow("unknown desktop, all installed: the first known")
        << u"Foo"_s << everything << u"gnome-control-center"_s << QStringList{u"datetime"_s};
    QTest::newRow("no desktop, all installed") << QString() << everything
        << u"gnome-control-center"_s << QStringList{u"datetime"_s};
    QTest::newRow("KDE prefers its own") << u"KDE"_s << everything << u"systemsettings"_s
                                         << QStringList{u"kcm_clock"_s};
    QTest::newRow("KDE 5 without systemsettings")
        << u"KDE"_s << QStringList{u"gnome-control-center"_s, u"kcmshell5"_s}
        << u"kcmshell5"_s << QStringList{u"kcm_clock"_s};
    QTest::newRow("ubuntu:GNOME, case ignored") << u"ubuntu:gnome"_s << everything
        << u"gnome-control-center"_s << QStringList{u"datetime"_s};
    QTest::newRow("X-Cinnamon") << u"X-Cinnamon"_s << everything << u"cinnamon-settings"_s
                                << QStringList{u"calendar"_s};
    QTest::newRow("Cinnamon without the X- prefix") << u"Cinnamon"_s << everything
        << u"cinnamon-settings"_s << QStringList{u"calendar"_s};
    QTest::newRow("MATE: no arguments") << u"MATE"_s << everything << u"mate-time-admin"_s
                                        << QStringList{};
    QTest::newRow("LXQt") << u"LXQt"_s << everything << u"lxqt-admin-time"_s << QStringList{};
    QTest::newRow("Budgie:GNOME takes Budgie's first") << u"Budgie:GNOME"_s << everything
        << u"budgie-control-center"_s << QStringList{u"datetime"_s};
    QTest::newRow("Budgie:GNOME without Budgie's panel")
        << u"Budgie:GNOME"_s << QStringList{u"time-admin"_s, u"gnome-control-center"_s}
        << u"gnome-control-center"_s << QStringList{u"datetime"_s};
    QTest::newRow("UKUI") << u"UKUI"_s << everything << u"ukui-control-center"_s
                          << QStringList{u"--datetime"_s};
    QTest::newRow("GNOME desktop, only time-admin installed")
        << u"GNOME"_s << QStringList{u"time-admin"_s} << u"time-admin"_s << QStringList{};
    QTest::newRow("XFCE: no panel of its own, list order")
        << u"XFCE"_s << QStringList{u"time-admin"_s, u"mate-time-admin"_s}
        << u"mate-time-admin"_s << QStringList{};
    QTest::newRow("nothing installed") << u"GNOME"_s << QStringList{} << QString()
                                       << QStringList{};
}

void TestSettings::choosePanel()
{
    QFETCH(QString, desktop);
    QFETCH(QStringList, installed);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);

    const auto panel = ChooseDateTimePanel(
        desktop, [&](const QString& name) { return installed.contains(name); });
    if (program.isEmpty()) {
        QVERIFY(!panel.has_value());
        return;
    }
    QVERIFY(panel.has_value());
    QCOMPARE(panel->program, program);
    QCOMPARE(panel->arguments, arguments);
}

// A fake panel first on $PATH writes its arguments to a marker file.
void TestSettings::buttonStartsPanel()
{
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString marker = bin.filePath(u"started"_s);
    const QString script = bin.filePath(u"gnome-control-center"_s);
    {
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho \"$@\" > \"" + QFile::encodeName(marker) + "\"\n");
    }
    QVERIFY(QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner
                                              | QFile::ExeOwner));
    const QByteArray oldPath = qgetenv("PATH");
    const QByteArray oldDesktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("PATH", QFile::encodeName(bin.path()) + ":" + oldPath);
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");

    CCalendarDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto* button = dlg.findChild<QPushButton*>(u"settingsButton"_s);
    QVERIFY(button != nullptr);
    QCOMPARE(button->text(), u"日期和时间设置"_s);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
    QFile file(marker);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTRY_COMPARE(QFile(marker).size(), qint64(9));  // "datetime\n", once the script is done
    QCOMPARE(file.readAll().trimmed(), QByteArray("datetime"));

    qputenv("PATH", oldPath);
    qputenv("XDG_CURRENT_DESKTOP", oldDesktop);
    QVERIFY(dlg.isVisible());  // the window stays as it was
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
