// Public holidays in the window: the 休/班 badges at chosen pixels at 100 %
// and 200 %, the tip's note, and the user's holiday file read at start-up
// and again as it is created, edited, replaced, removed or spoilt.
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

#include "calendardlg.h"
#include "controls/gridfocus.h"
#include "controls/tipwindow.h"
#include "holidayfile.h"
#include "model/colors.h"
#include "model/geometry.h"
#include "painters.h"
#include "uitest.h"

using namespace Qt::StringLiterals;
using uitest::Columns, uitest::Fetch;

namespace {

// Pixels inside the logical rectangle `r` of the picture that are exactly
// `colour`, or near white (the badge's mark, antialiased at 200 %) for an
// invalid colour.
int Count(const QImage& picture, const QRect& r, QColor colour)
{
    return uitest::CountPixels(picture, r, [colour](QRgb p) {
        return colour.isValid() ? (p | 0xff000000u) == colour.rgb()
                                : std::min({qRed(p), qGreen(p), qBlue(p)}) >= 224;
    });
}

QRect Badge(int row, int column) { return ToQRect(qov::CellBadgeRect(row, column)); }

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

}  // namespace

class TestHolidays : public uitest::DialogTest {
    Q_OBJECT

    QTemporaryDir m_config;  // $XDG_CONFIG_HOME of this test
    PaintCounter m_counter;

    QString Folder() const { return m_config.path() + u"/qov"_s; }
    QString FilePath() const { return Folder() + u"/holidays.tsv"_s; }
    const qov::HolidayTable& Table() const { return m_dlg->holidayFile()->table(); }
    QString KindOf(int year, int month, int day) const
    {
        const qov::DayOff kind = Table().Lookup({year, month, day}).kind;
        return kind == qov::DayOff::Rest ? u"休"_s : kind == qov::DayOff::Work ? u"班"_s : u""_s;
    }
    // Writes the user's file as editors that save safely do: a new file renamed over the
    // old; the folder made first if need be.
    void Replace(const QByteArray& bytes)
    {
        const QString path = FilePath();
        QVERIFY(QDir().mkpath(Folder()));
        QFile file(path + u".new"_s);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
        file.close();
        QVERIFY(::rename(QFile::encodeName(file.fileName()).constData(),
                    QFile::encodeName(path).constData())
            == 0);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        QVERIFY(uitest::MakeRuntimeDir());
    }

    void init()
    {
        QDir(Folder()).removeRecursively();
        Open();
        m_dlg->installEventFilter(&m_counter);
        m_dlg->SelectDate(qov::MonthPage(2026, 10, 15));
    }
    void cleanup()
    {
        m_dlg.reset();
        QDir(Folder()).removeRecursively();
    }

    void userFilePath_data()
    {
        // expected: "~" for the home folder
        Columns<QByteArray, QString>("configHome", "expected");
        QTest::newRow("absolute") << QByteArray("/srv/cfg/") << u"/srv/cfg/qov/holidays.tsv"_s;
        QTest::newRow("relative ignored") << QByteArray("cfg") << u"~/.config/qov/holidays.tsv"_s;
        QTest::newRow("unset") << QByteArray() << u"~/.config/qov/holidays.tsv"_s;
    }
    void userFilePath()
    {
        const auto [configHome, expected] = Fetch<QByteArray, QString>("configHome", "expected");
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", configHome);
        const QString path = CHolidayFile::UserFilePath();
        qputenv("XDG_CONFIG_HOME", saved);
        QCOMPARE(path, QString(expected).replace(u"~"_s, QDir::homePath()));
        QCOMPARE(m_dlg->holidayFile()->path(), FilePath());
    }

    // October 2026: 1 October (Thursday, row 0) 休, 10 October (Saturday,
    // row 1) 班, 9 October none; 27 September (row 0, Sunday) a 休 of the
    // Mid-Autumn holiday in a grey neighbouring cell.
    void badges_data()
    {
        // fill: invalid: no badge
        Columns<qreal, int, int, int, QColor>("ratio", "selectedDay", "row", "column", "fill");
        const QColor rest = ToQColor(qov::colors::RestBadge);
        const QColor work = ToQColor(qov::colors::WorkBadge);
        const QColor pale = ToQColor(qov::colors::PaleRestBadge);
        for (const qreal ratio : {1.0, 2.0}) {
            const QByteArray at = ratio == 1.0 ? " 100%" : " 200%";
            QTest::newRow("2026-10-01 rest" + at) << ratio << 15 << 0 << 4 << rest;
            QTest::newRow("2026-10-10 work" + at) << ratio << 15 << 1 << 6 << work;
            QTest::newRow("2026-10-09 none" + at) << ratio << 15 << 1 << 5 << QColor();
            QTest::newRow("2026-10-01 selected" + at) << ratio << 1 << 0 << 4 << rest;
            QTest::newRow("2026-09-27 pale" + at) << ratio << 15 << 0 << 0 << pale;
        }
    }
    void badges()
    {
        const auto [ratio, selectedDay, row, column, fill] =
            Fetch<qreal, int, int, int, QColor>("ratio", "selectedDay", "row", "column", "fill");
        m_dlg->SelectDate(qov::MonthPage(2026, 10, selectedDay));
        const QImage picture = m_dlg->RenderPicture(ratio);
        const QRect badge = Badge(row, column);
        const int area = badge.width() * badge.height() * qRound(ratio * ratio);
        if (!fill.isValid()) {
            for (const qov::Rgb c : {qov::colors::RestBadge, qov::colors::WorkBadge,
                     qov::colors::PaleRestBadge, qov::colors::PaleWorkBadge})
                QCOMPARE(Count(picture, badge, ToQColor(c)), 0);
            return;
        }
        // The fill around a white mark of several strokes.
        QVERIFY(Count(picture, badge, fill) > area / 2);
        QVERIFY(Count(picture, badge, QColor()) > area / 10);
        if (selectedDay == 1) {
            // Drawn over the selection fill, which stays around it.
            const QRect cell = ToQRect(qov::CellRect(row, column));
            QVERIFY(Count(picture, QRect(badge.left(), badge.bottom() + 1, badge.width(), 8),
                        ToQColor(qov::colors::Selection))
                > 8 * badge.width() * ratio * ratio / 2);
            QVERIFY(Count(picture, cell, ToQColor(qov::colors::Selection)) > area);
        }
    }

    // A screen reader hears the holiday with the selected day, and the file's
    // changes too.
    void spokenHoliday()
    {
        CGridFocus* grid = m_dlg->gridFocus();
        const auto spoken = [grid] {
            return grid->Texts(grid->selection().row, grid->selection().column).description;
        };
        m_dlg->SelectDate(qov::MonthPage(2026, 10, 10));
        QVERIFY(spoken().endsWith(u" 国庆节 调休上班"_s));
        Replace("2026-10-10\t-\n");
        QTRY_VERIFY(!spoken().contains(u"调休"_s));
    }

    // Every day number of a page keeps clear of the badge's corner (October
    // 2003 has no data, so nothing is drawn there but the numbers and the
    // watermark), at both ratios.
    void numbersClearOfBadges()
    {
        m_dlg->SelectDate(qov::MonthPage(2003, 10, 28));
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage picture = m_dlg->RenderPicture(ratio);
            for (int row = 0; row < qov::grid::Rows; ++row)
                for (int column = 0; column < qov::grid::Columns; ++column)
                    for (const qov::Rgb c : {qov::colors::Black, qov::colors::Red,
                             qov::colors::Green, qov::colors::Grey})
                        QCOMPARE(Count(picture, Badge(row, column), ToQColor(c)), 0);
        }
        static_assert(qov::CellBadgeRect(0, 0).bottom <= qov::CellLowerRect(0, 0).top);
    }

    // The tip over 1 October begins its note with the holiday; its note box
    // shows it in the note's ink at the start of the first row.
    void tipNote()
    {
        const qov::Rect cell = qov::CellRect(0, 4);
        const QPoint centre(cell.left + 30, cell.top + 20);
        QTest::mouseMove(m_dlg.get(), centre);
        CTipWindow* tip = Tip();
        QTRY_VERIFY(tip->isVisible());
        QVERIFY2(tip->note().startsWith(u"国庆节 休 "_s), qPrintable(tip->note()));
        const QImage withHoliday = tip->grab().toImage();

        const QFontMetrics metrics(CTipWindow::TipFont());
        const QRect prefix(
            3, tip->textHeight() + 6, metrics.horizontalAdvance(u"国庆节 休"_s), tip->lineHeight());
        const QColor ink(0, 0, 51);
        QVERIFY(Count(withHoliday, prefix, ink) > 20);

        // Without the holiday (removed by the user's file) the same box reads otherwise.
        Replace("2026-10-01\t-\n");
        QTRY_COMPARE(KindOf(2026, 10, 1), QString());
        QTest::mouseMove(m_dlg.get(), centre + QPoint(0, 60));  // 8 October, then back
        QTest::mouseMove(m_dlg.get(), centre);
        QTRY_VERIFY(!tip->note().startsWith(u"国庆节 休"_s));
        QVERIFY(tip->grab().toImage().copy(prefix) != withHoliday.copy(prefix));
    }

    // The file and its folder appear after the start, are edited in place
    // and replaced; every change repaints the page; bad lines are reported
    // and skipped; removal brings the shipped days back.
    void fileFollowed()
    {
        QCOMPARE(KindOf(2026, 10, 9), QString());
        QVERIFY(m_dlg->holidayFile()->messages().isEmpty());

        QVERIFY(QDir().mkpath(Folder()));
        int paints = m_counter.paints;
        Replace("# next year's "
                "schedule\n2026-10-09\t休\t国庆节\n2026-10-01\t-\n2027-10-01\t休\t国庆节\n"
                "2027-02-30\t休\t春节\n");
        QTRY_COMPARE(KindOf(2026, 10, 9), u"休"_s);
        QTRY_VERIFY(m_counter.paints > paints);
        QCOMPARE(KindOf(2026, 10, 1), QString());
        QCOMPARE(KindOf(2027, 10, 1), u"休"_s);
        QCOMPARE(KindOf(2026, 10, 2), u"休"_s);
        QCOMPARE(m_dlg->holidayFile()->messages(),
            QStringList{u"holidays.tsv:5: bad date '2027-02-30'"_s});
        const QImage picture = m_dlg->RenderPicture(1.0);
        QVERIFY(Count(picture, Badge(1, 5), ToQColor(qov::colors::RestBadge)) > 50);
        QCOMPARE(Count(picture, Badge(0, 4), ToQColor(qov::colors::RestBadge)), 0);

        // Edited in place (appended to): the same inode.
        paints = m_counter.paints;
        {
            QFile file(FilePath());
            QVERIFY(file.open(QIODevice::Append));
            file.write("2026-10-10\t休\t补假\n");
        }
        QTRY_COMPARE(KindOf(2026, 10, 10), u"休"_s);
        QTRY_VERIFY(m_counter.paints > paints);

        // Replaced, then replaced again: a replaced file keeps being followed.
        Replace("2026-10-09\t班\t国庆节\n");
        QTRY_COMPARE(KindOf(2026, 10, 9), u"班"_s);
        QCOMPARE(KindOf(2026, 10, 1), u"休"_s);
        QCOMPARE(KindOf(2026, 10, 10), u"班"_s);
        Replace("2026-10-09\t休\t国庆节\n");
        QTRY_COMPARE(KindOf(2026, 10, 9), u"休"_s);

        paints = m_counter.paints;
        QVERIFY(QFile::remove(FilePath()));
        QTRY_COMPARE(KindOf(2026, 10, 9), QString());
        QTRY_VERIFY(m_counter.paints > paints);
        QVERIFY(m_dlg->holidayFile()->messages().isEmpty());
    }

    // A file that cannot be used as a whole leaves the shipped days alone,
    // with one message naming the file; an empty file changes nothing.
    void unusableFile_data()
    {
        // message: after "<path>: "; empty: none
        Columns<QString, QString>("kind", "message");
        QTest::newRow("empty") << u"empty"_s << QString();
        QTest::newRow("folder") << u"folder"_s << u"is a folder, not a file"_s;
        QTest::newRow("over 1 MiB") << u"large"_s << u"is larger than 1 MiB"_s;
        QTest::newRow("pipe") << u"pipe"_s << u"is not a regular file"_s;
        // Reading /proc/self/mem at offset 0 fails whoever reads it, root included.
        QTest::newRow("unreadable") << u"unreadable"_s << u"cannot be read"_s;
    }
    void unusableFile()
    {
        const auto [kind, message] = Fetch<QString, QString>("kind", "message");
        // First a file that removes a shipped day, so that a change shows.
        Replace("2026-10-01\t-\n");
        QTRY_COMPARE(KindOf(2026, 10, 1), QString());
        QVERIFY(QFile::remove(FilePath()));
        QTRY_COMPARE(KindOf(2026, 10, 1), u"休"_s);

        const QByteArray path = QFile::encodeName(FilePath());
        const QSignalSpy readings(m_dlg->holidayFile(), &CHolidayFile::changed);
        if (kind == u"empty"_s) {
            Replace({});
        } else if (kind == u"folder"_s) {
            QVERIFY(QDir().mkdir(FilePath()));
        } else if (kind == u"large"_s) {
            QByteArray bytes;
            while (bytes.size() <= 1024 * 1024) bytes += "2026-10-01\t-\n";
            Replace(bytes);
        } else if (kind == u"pipe"_s) {
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        } else {
            QVERIFY(QFile::link(u"/proc/self/mem"_s, FilePath()));
        }
        const QStringList expected =
            message.isEmpty() ? QStringList() : QStringList{FilePath() + u": "_s + message};
        QTRY_VERIFY(readings.count() > 0);
        QVERIFY(m_dlg->holidayFile()->messages().size() == expected.size()
            && (expected.isEmpty() || m_dlg->holidayFile()->messages()[0].startsWith(expected[0])));
        QCOMPARE(KindOf(2026, 10, 1), u"休"_s);
        QCOMPARE(Table().Days().size(), qov::HolidayTable::Shipped().Days().size());
        if (kind == u"folder"_s) QVERIFY(QDir().rmdir(FilePath()));
    }
};

QTEST_MAIN(TestHolidays)
#include "tst_holidays.moc"
