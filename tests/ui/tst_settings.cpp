// Preferences: qov.conf read (defaults, values, malformed and unreadable
// files) and written (every line the user wrote kept), the dialog "设置…"
// with its list of the user's days (unreadable lines kept, a file changed on
// disk not overwritten), and a Monday-first page with a kind switched off
// and a lunar birthday at chosen pixels at 100 % and 200 %.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

#include "model/colors.h"
#include "settings/settingsdlg.h"
#include "traysettings.h"
#include "uitest.h"
#include "userfiles/mydaysfile.h"

using namespace Qt::StringLiterals;
using uitest::Columns, uitest::Fetch, uitest::ReadFile, uitest::WriteFile;

namespace {

// "M" for Monday first, then one letter per switch on: t l g i w h, u, e a.
QString Summary(const QovSettings& s)
{
    QString text = s.weekStart == qov::WeekStart::Monday ? u"M"_s : u"S"_s;
    const std::pair<bool, char16_t> flags[] = {{s.terms, u't'}, {s.lunarFestivals, u'l'},
        {s.gregorianFestivals, u'g'}, {s.internationalDays, u'i'}, {s.westernFestivals, u'w'},
        {s.holidayMarks, u'h'}, {s.autoUpdate, u'u'}, {s.trayEnabled, u'e'},
        {s.trayAutostart, u'a'}};
    for (const auto& [on, letter] : flags)
        if (on) text += QChar(letter);
    return text;
}

}  // namespace

class TestSettings : public uitest::DialogTest {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString Conf() const { return m_dir.path() + u"/qov/qov.conf"_s; }
    QString MyDays() const { return m_dir.path() + u"/qov/mydays.tsv"_s; }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
        QVERIFY(uitest::MakeRuntimeDir());
        QCOMPARE(settings::FilePath(), Conf());
        QCOMPARE(CMyDaysFile::UserFilePath(), MyDays());
    }
    void cleanup()
    {
        m_dlg.reset();
        QDir(m_dir.path() + u"/qov"_s).removeRecursively();
    }

    void load_data()
    {
        // bytes: "<none>" no file, "<folder>" a folder; message: "" none, else its end
        Columns<QByteArray, QString, QString>("bytes", "summary", "message");
        QTest::newRow("missing") << QByteArray("<none>") << u"Stlgiwhue"_s << QString();
        QTest::newRow("values") << QByteArray("# mine\n[calendar]\nweekStart=Monday ; ISO\n"
                                              "[show]\nterms = false\n[tray]\nautostart=TRUE\n")
                                << u"Mlgiwhuea"_s << QString();
        QTest::newRow("malformed") << QByteArray("[calendar\nweekStart=monday\n") << u"Stlgiwhue"_s
                                   << u"is not an INI file; the default settings are used"_s;
        QTest::newRow("bad values")
            << QByteArray(
                   "[calendar]\nweekStart=tuesday\n[show]\nterms=maybe\nholidayMarks=false\n")
            << u"Stlgiwue"_s
            << u"show/terms is not true or false, calendar/weekStart is not sunday or monday; "
               "the default is used for them"_s;
        QTest::newRow("folder") << QByteArray("<folder>") << u"Stlgiwhue"_s
                                << u"is a folder, not a file; the default settings are used"_s;
    }
    void load()
    {
        const auto [bytes, summary, message] =
            Fetch<QByteArray, QString, QString>("bytes", "summary", "message");
        if (bytes == "<folder>")
            QVERIFY(QDir().mkpath(Conf()));
        else if (bytes != "<none>")
            QVERIFY(WriteFile(Conf(), bytes));
        QString said;
        QCOMPARE(Summary(settings::Load(Conf(), said)), summary);
        QCOMPARE(said, message.isEmpty() ? QString() : Conf() + u": "_s + message);
    }

    // A save changes the values that changed, in place, adds the missing keys
    // to their groups, and keeps every other byte; reading it back gives the
    // values saved. A file that cannot be read is never replaced.
    void saveKeepsLines()
    {
        const QByteArray mine =
            "; my settings\r\n[calendar]\r\nweekStart = sunday   ; or monday\r\n"
            "colour=blue\r\n\r\n[show]\r\nterms=true\r\nnot a key\r\n"
            "[other]\r\nx=1\r\n[show]\r\ninternationalDays=True\r\n";
        QVERIFY(WriteFile(Conf(), mine));
        QovSettings values;
        values.weekStart = qov::WeekStart::Monday;
        values.westernFestivals = false;
        values.trayAutostart = true;
        QString error;
        QVERIFY(settings::Save(Conf(), values, error));
        QCOMPARE(ReadFile(Conf()),
            QByteArray(
                "; my settings\r\n[calendar]\r\nweekStart = monday   ; or monday\r\n"
                "colour=blue\r\n\r\n[show]\r\nterms=true\r\nnot a key\r\n"
                "[other]\r\nx=1\r\n[show]\r\ninternationalDays=True\r\n"
                "lunarFestivals=true\r\ngregorianFestivals=true\r\nwesternFestivals=false\r\n"
                "holidayMarks=true\r\n\r\n[holidays]\r\nautoUpdate=true\r\n\r\n[tray]\r\n"
                "enabled=true\r\nautostart=true\r\n"));
        QString message;
        QCOMPARE(settings::Load(Conf(), message), values);
        QVERIFY(message.isEmpty());

        QVERIFY(QFile::remove(Conf()));
        QVERIFY(QDir().mkpath(Conf()));
        QVERIFY(!settings::Save(Conf(), values, error));
        QVERIFY(error.endsWith(u"is a folder, not a file"_s));
    }

    // The dialog shows the settings, edits the user's days, keeps the lines
    // it cannot read, and saves both files on OK.
    void dialogSaves()
    {
        QVERIFY(WriteFile(Conf(), "# kept\n[calendar]\nweekStart=sunday\n"));
        QVERIFY(WriteFile(MyDays(), "# 家人\n公历\t02-30\t写错\n农历\t08-15\t中秋\t1990\n"));
        CSettingsDlg dialog(QovSettings{}, Conf(), MyDays());
        auto* list = dialog.findChild<QListWidget*>(u"myDayList"_s);
        QCOMPARE(list->count(), 1);
        QCOMPARE(list->item(0)->text(), u"农历 8月15日 中秋 (1990)"_s);
        QVERIFY(dialog.findChild<QLabel*>(u"myDayStatus"_s)->text().startsWith(u"mydays.tsv:2"_s));
        for (QWidget* w : dialog.findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QComboBox*>(w)
                || qobject_cast<QAbstractSpinBox*>(w) || qobject_cast<QListWidget*>(w)
                || (qobject_cast<QLineEdit*>(w) && !w->objectName().startsWith(u"qt_"_s));
            if (control) QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }

        dialog.findChild<QComboBox*>(u"weekStartBox"_s)->setCurrentIndex(1);
        dialog.findChild<QCheckBox*>(u"showInternationalDays"_s)->setChecked(false);
        dialog.findChild<QCheckBox*>(u"trayEnabled"_s)->setChecked(false);
        dialog.findChild<QCheckBox*>(u"trayAutostart"_s)->setChecked(true);
        dialog.findChild<QLineEdit*>(u"myDayName"_s)->setText(u"外婆生日"_s);
        dialog.findChild<QComboBox*>(u"myDayCalendar"_s)->setCurrentIndex(1);
        dialog.findChild<QSpinBox*>(u"myDayMonth"_s)->setValue(4);
        dialog.findChild<QCheckBox*>(u"myDayLeap"_s)->setChecked(true);
        dialog.findChild<QSpinBox*>(u"myDayDay"_s)->setValue(30);
        dialog.findChild<QSpinBox*>(u"myDayFirstYear"_s)->setValue(1948);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"myDayAdd"_s), Qt::LeftButton);
        QCOMPARE(list->count(), 2);
        list->setCurrentRow(0);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"myDayRemove"_s), Qt::LeftButton);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ReadFile(MyDays()), "# 家人\n公历\t02-30\t写错\n农历\t闰04-30\t外婆生日\t1948\n");
        QVERIFY(ReadFile(Conf()).startsWith("# kept\n[calendar]\nweekStart=monday\n"));
        QString message;
        QCOMPARE(Summary(settings::Load(Conf(), message)), u"Mtlgwhua"_s);
        QVERIFY(ReadFile(AutostartFilePath()).contains("\nExec=qov --tray\n"));
        // Switched off again: the entry goes.
        CSettingsDlg again(settings::Load(Conf(), message), Conf(), MyDays());
        again.findChild<QCheckBox*>(u"trayAutostart"_s)->setChecked(false);
        again.accept();
        QVERIFY(!QFile::exists(AutostartFilePath()));
    }

    // A mydays.tsv changed on disk while the dialog was open is read again,
    // not overwritten, and the dialog stays open saying so.
    void dialogKeepsChangesOnDisk()
    {
        QVERIFY(WriteFile(MyDays(), "公历\t01-01\t甲\n"));
        CSettingsDlg dialog(QovSettings{}, Conf(), MyDays());
        auto* list = dialog.findChild<QListWidget*>(u"myDayList"_s);
        list->setCurrentRow(0);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"myDayRemove"_s), Qt::LeftButton);
        QCOMPARE(list->count(), 0);
        QVERIFY(WriteFile(MyDays(), "公历\t01-01\t甲\n公历\t01-02\t乙\n"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(ReadFile(MyDays()), "公历\t01-01\t甲\n公历\t01-02\t乙\n");
        QCOMPARE(list->count(), 2);
        QVERIFY(dialog.findChild<QLabel*>(u"myDayStatus"_s)->text().contains(u"已在别处修改"_s));
    }

    // June 2020 begins on a Monday; qov.conf read at start puts Monday first
    // and 国际禁毒日 (Friday 26 June, row 3) off. The header ends with a red
    // 日; Sunday 21 June (row 2) has a red number in the last column; the
    // lunar birthday 闰四月三十 falls on Saturday 20 June (row 2).
    void mondayPage_data()
    {
        Columns<qreal>("ratio");
        QTest::newRow("100 %") << 1.0;
        QTest::newRow("200 %") << 2.0;
    }
    void mondayPage()
    {
        const auto [ratio] = Fetch<qreal>("ratio");
        QVERIFY(WriteFile(MyDays(), "农历\t闰04-30\t外婆生日\t1948\n"));
        QVERIFY(
            WriteFile(Conf(), "[calendar]\nweekStart=monday\n[show]\ninternationalDays=false\n"));
        Open();
        m_dlg->SelectDate(qov::MonthPage(2020, 6, 1));
        const auto count = [this, ratio](const qov::Rect& r, qov::Rgb c) {
            return uitest::CountColour(m_dlg->RenderPicture(ratio), r, uitest::Rgb(c));
        };
        // The header's Sunday red, smoothed at 200 %.
        const auto reddish = [this, ratio](int column) {
            return uitest::CountPixels(m_dlg->RenderPicture(ratio),
                QRect(5 + 70 * column, 32, 70, 20),
                [](QRgb p) { return qRed(p) > 180 && qGreen(p) < 100 && qBlue(p) < 100; });
        };
        QVERIFY(reddish(6) > 10);
        QCOMPARE(reddish(0), 0);
        QVERIFY(count(qov::CellUpperRect(2, 6), qov::colors::Red) > 10);
        QCOMPARE(count(qov::CellUpperRect(3, 0), qov::colors::Red), 0);  // Monday 22 June
        QVERIFY(count(qov::CellLowerRect(2, 5), qov::colors::MyDay) > 10);
        QCOMPARE(count(qov::CellLowerRect(3, 4), qov::colors::DarkBlue), 0);
        QovSettings values = m_dlg->settings();
        values.internationalDays = true;
        m_dlg->ApplySettings(values);
        QVERIFY(count(qov::CellLowerRect(3, 4), qov::colors::DarkBlue) > 10);

        // Clicks, keys and the screen reader follow the columns.
        QTest::mouseClick(m_dlg.get(), Qt::LeftButton, {}, uitest::CellCentre(2, 5));
        QCOMPARE(uitest::DateText(m_dlg->selectedDate()), u"2020-06-20"_s);
        const auto spoken = [this] {
            auto* grid = Child<CGridFocus>(u"monthGrid"_s);
            return grid->Texts(grid->selection().row, grid->selection().column).description;
        };
        QVERIFY2(spoken().contains(u"外婆生日 第73个"_s), qPrintable(spoken()));
        QTest::keyClick(Child(u"monthGrid"_s), Qt::Key_Down);
        QCOMPARE(m_dlg->page().SelectedCell().column, 5);
        // The window follows the file as it changes.
        QTest::keyClick(Child(u"monthGrid"_s), Qt::Key_Up);
        QVERIFY(WriteFile(MyDays(), "农历\t闰04-30\t姥姥生日\n"));
        QTRY_VERIFY(spoken().contains(u"姥姥生日"_s));
        QCOMPARE(m_dlg->findChild<QAction*>(u"settingsAction"_s)->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_Comma));
    }
};

QOV_UI_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
