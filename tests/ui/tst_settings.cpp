// Choice of the desktop's date-and-time panel, and the settings button
// starting the panel found first on $PATH.
#include <QFile>
#include <QPushButton>
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
    QTest::addColumn<QString>("panel");  // program and arguments; empty: none
    const QStringList all = {u"gnome-control-center"_s, u"systemsettings"_s, u"kcmshell5"_s,
        u"cinnamon-settings"_s, u"mate-time-admin"_s, u"budgie-control-center"_s, u"time-admin"_s};
    QTest::newRow("unknown desktop: the first known")
        << u"Foo"_s << all << u"gnome-control-center datetime"_s;
    QTest::newRow("KDE prefers its own") << u"KDE"_s << all << u"systemsettings kcm_clock"_s;
    QTest::newRow("KDE without systemsettings")
        << u"KDE"_s << QStringList{u"gnome-control-center"_s, u"kcmshell5"_s}
        << u"kcmshell5 kcm_clock"_s;
    QTest::newRow("X-Cinnamon") << u"X-Cinnamon"_s << all << u"cinnamon-settings calendar"_s;
    QTest::newRow("Budgie:GNOME without Budgie's panel")
        << u"Budgie:GNOME"_s << QStringList{u"time-admin"_s, u"gnome-control-center"_s}
        << u"gnome-control-center datetime"_s;
    QTest::newRow("MATE: no arguments") << u"MATE"_s << all << u"mate-time-admin"_s;
    QTest::newRow("nothing installed") << u"GNOME"_s << QStringList{} << QString();
}

void TestSettings::choosePanel()
{
    QFETCH(QString, desktop);
    QFETCH(QStringList, installed);
    QFETCH(QString, panel);
    const auto chosen =
        ChooseDateTimePanel(desktop, [&](const QString& name) { return installed.contains(name); });
    QCOMPARE(chosen.has_value(), !panel.isEmpty());
    if (chosen) QCOMPARE((QStringList{chosen->program} + chosen->arguments).join(u' '), panel);
}

// A fake panel first on $PATH writes its arguments to a marker file.
void TestSettings::buttonStartsPanel()
{
    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    const QString marker = bin.filePath(u"started"_s);
    const QString script = bin.filePath(u"gnome-control-center"_s);
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho \"$@\" > \"" + QFile::encodeName(marker) + ".tmp\" && mv \""
        + QFile::encodeName(marker) + ".tmp\" \"" + QFile::encodeName(marker) + "\"\n");
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ":" + oldPath);
    qputenv("XDG_CURRENT_DESKTOP", "GNOME");

    CCalendarDlg dlg;
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.findChild<QPushButton*>(u"settingsButton"_s), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
    qputenv("PATH", oldPath);
    QFile written(marker);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("datetime\n"));
    QVERIFY(dlg.isVisible());  // the window stays as it was
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
