// The program around the window.
// How it starts: the command line (help, version, --date and its refusals),
// Qt's own texts in Chinese, the program itself started with arguments,
// offscreen, saving its first paint, also without any Chinese face, and a
// lock file that cannot be taken.
// The holiday update against servers on 127.0.0.1 started here: one table
// of answers (good, unchanged, broken, hostile) with the stored file after
// each, https with a test authority, and a running window that shows a
// 2027 badge once `qov --update-holidays` has stored the year.
// Preferences: qov.conf read (defaults, values, malformed and unreadable
// files) and written (every line the user wrote kept), the dialog "设置…"
// with its list of the user's days (unreadable lines kept, a file changed on
// disk not overwritten), and a Monday-first page with a kind switched off
// and a lunar birthday at chosen pixels at 100 % and 200 %.
// The program in the panel: the leaf icon and its tip as the window's
// settings and the user's days have it, the menu and the click, hiding on
// close and the tray's switch put in force at once, today's ring, and (run
// under faketime by tray_test.sh) midnight and a jump of the clock.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>

#include "calendarapp.h"
#include "calendarhost.h"
#include "holidayfile.h"
#include "holidays/holidayupdate.h"
#include "holidays/updatejob.h"
#include "platform/instancechannel.h"
#include "platform/singleinstance.h"
#include "platform/todaywatch.h"
#include "settings/settingsdlg.h"
#include "trayleaf.h"
#include "traysettings.h"
#include "uitest.h"
#include "userfiles/mydaysfile.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using uitest::Columns, uitest::Fetch, uitest::ReadFile, uitest::WriteFile;

namespace {

// Answers each request with the raw answer of its path (404 for others):
// written whole, then the connection is closed; an empty answer is never
// sent (a server that accepts and stays silent). With `tls`, over TLS.
class Server : public QTcpServer {
public:
    QMap<QByteArray, QByteArray> answers;
    QList<QByteArray> requests;
    QSslCertificate certificate;
    QSslKey key;
    bool tls = false;

protected:
    void incomingConnection(qintptr handle) override
    {
        auto* socket = new QSslSocket(this);
        socket->setSocketDescriptor(handle);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] {
            const QByteArray request = socket->peek(socket->bytesAvailable());
            if (!request.contains("\r\n\r\n")) return;
            socket->readAll();
            requests.append(request);
            const QByteArray path = request.split(' ').value(1);
            const QByteArray answer =
                answers.value(path, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
            if (answer.isEmpty()) return;
            socket->write(answer);
            socket->disconnectFromHost();
        });
        if (tls) {
            socket->setLocalCertificate(certificate);
            socket->setPrivateKey(key);
            socket->startServerEncryption();
        }
    }
};

QByteArray Answer(const QByteArray& status, const QByteArray& body, const QByteArray& headers = {})
{
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n"
        + headers + "\r\n" + body;
}

// A 2027 schedule as holiday-cn writes one: `days` of 元旦, the first three
// (Friday 1 January to Sunday) off, the rest 班 on Saturdays; or `days` times `day`.
QByteArray Schedule(int days, const QByteArray& year = "2027", const QByteArray& day = {})
{
    QByteArrayList list;
    for (int i = 0; i < days; ++i) {
        const QDate date = QDate(2027, 1, 1).addDays(i < 3 ? i : 7 * i - 13);
        list += !day.isEmpty()
            ? day
            : R"({"name": "元旦", "date": ")" + date.toString(Qt::ISODate).toLatin1()
                + R"(", "isOffDay": )" + (i < 3 ? "true}" : "false}");
    }
    return R"({"year": )" + year + R"(, "papers": [], "days": [)" + list.join(",\n") + "]}";
}

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

qov::SolarDate FromQDate(QDate d) { return {d.year(), d.month(), d.day()}; }

// Exact festival-red pixels down the left edge of the cell of `date` on the
// dialog's page; -1 when the page does not show that date.
int RingPixels(const CCalendarDlg& dlg, QDate date, qreal ratio)
{
    const qov::MonthPage& page = dlg.page();
    for (int row = 0; row < qov::grid::Rows; ++row)
        for (int column = 0; column < qov::grid::Columns; ++column)
            if (page.CellAt(row, column) == FromQDate(date)) {
                // The cell's left edge, below the day number's reach.
                const qov::Rect cell = qov::CellRect(row, column);
                return uitest::CountColour(dlg.RenderPicture(ratio),
                    {cell.left, cell.top + 8, cell.left + 3, cell.bottom - 8},
                    uitest::Rgb(qov::colors::Red));
            }
    return -1;
}

}  // namespace

class TestProgram : public uitest::DialogTest {
    Q_OBJECT

    QTemporaryDir m_keys;  // a test authority and the server's certificate from it
    Server m_server;
    // The update's folder, in the $XDG_DATA_HOME of this test.
    QString Fetched() const { return qEnvironmentVariable("XDG_DATA_HOME") + u"/qov/holiday-cn"_s; }
    QString Stored() const { return Fetched() + u"/2027.json"_s; }
    QString Source(const QString& scheme = u"http"_s) const
    {
        return u"%1://127.0.0.1:%2/{year}.json"_s.arg(scheme).arg(m_server.serverPort());
    }

    QTranslator m_qtChinese;
    QTemporaryDir m_noFonts;  // a fontconfig setup that finds no face at all
    // The folder of qov.conf and mydays.tsv, in the $XDG_CONFIG_HOME of this test.
    QString Folder() const { return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/qov"_s; }
    QString Conf() const { return Folder() + u"/qov.conf"_s; }
    QString MyDays() const { return Folder() + u"/mydays.tsv"_s; }

private Q_SLOTS:
    // Qt's own texts as the window shows them, Chinese (qt6-translations-l10n).
    void initTestCase()
    {
        QVERIFY(uitest::MakeRuntimeDir());
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        QVERIFY(CCalendarApp::LoadQtChinese(m_qtChinese));
        QCoreApplication::installTranslator(&m_qtChinese);
        const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"取消"_s);
        QCoreApplication::removeTranslator(&m_qtChinese);
        const QByteArray dir = QFile::encodeName(m_noFonts.path());
        QVERIFY(uitest::WriteFile(m_noFonts.filePath(u"fonts.conf"_s),
            "<?xml version=\"1.0\"?><fontconfig><dir>" + dir + "</dir><cachedir>" + dir
                + "</cachedir></fontconfig>\n"));
    }
    void init()
    {
        QDir(Folder()).removeRecursively();
        QDir(Fetched()).removeRecursively();
    }
    void cleanup()
    {
        m_dlg.reset();
        m_server.tls = false;
    }

    void update_data()
    {
        // stored, after: days of Schedule() in the file before (0: no file) and after; changed:
        // the line printed; error: part of the failure; tls: 0 http, 1 https from an unknown
        // authority, 2 https from the test authority, added
        const QString script = uR"(cd "$0" && exec 2>/dev/null &&
            openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=ca -keyout ca.key \
              -out ca.pem &&
            openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
              -addext subjectAltName=IP:127.0.0.1 -CA ca.pem -CAkey ca.key -keyout server.key \
              -out server.pem)"_s;
        QCOMPARE(QProcess::execute(u"sh"_s, {u"-c"_s, script, m_keys.path()}), 0);
        m_server.certificate = QSslCertificate::fromPath(m_keys.filePath(u"server.pem"_s)).value(0);
        m_server.key = QSslKey(ReadFile(m_keys.filePath(u"server.key"_s)), QSsl::Rsa);
        Columns<int, QByteArray, QString, QString, int, int>(
            "stored", "answer", "changed", "error", "after", "tls");
        const auto row = [](const char* name, int stored, const QByteArray& answer,
                             const char* changed, const char* error, int after, int tls = 0) {
            QTest::newRow(name) << stored << answer << QString::fromUtf8(changed)
                                << QString::fromUtf8(error) << after << tls;
        };
        const char* nine = "2027: 9 天（休 3，班 6）";
        const QByteArray fresh = Answer("200 OK", Schedule(9));
        const QByteArray moved = Answer("302 Found", {},
            "Location: " + Source().replace(u"{year}"_s, u"moved/2027"_s).toLatin1() + "\r\n");
        row("new year", 0, fresh, nine, "", 9);
        row("redirect on the server", 0, moved, nine, "", 9);
        row("https, trusted", 0, fresh, nine, "", 9, 2);
        row("drops half the days", 10, Answer("200 OK", Schedule(5)), "2027: 5 天（休 3，班 2）",
            "", 5);
        row("empty year stored", 0, Answer("200 OK", Schedule(0)), "", "", 0);
        // The rows below keep the stored file as it was.
        const auto keeps = [&row](const char* name, const QByteArray& answer, const char* error,
                               int tls = 0) { row(name, 10, answer, "", error, 10, tls); };
        keeps("not modified", Answer("304 Not Modified", {}), "");
        keeps("no file yet", Answer("404 Not Found", {}), "");
        keeps("empty year kept", Answer("200 OK", Schedule(0)), "");
        keeps("no content", Answer("204 No Content", {}), "HTTP status 204");
        keeps("truncated", fresh.chopped(40), "truncated");
        keeps("invalid JSON", Answer("200 OK", Schedule(9).chopped(1)), "invalid JSON at byte");
        keeps("year mismatch", Answer("200 OK", Schedule(9, "2026")), "\"year\" is not 2027");
        keeps("days not an array", Answer("200 OK", R"({"year": 2027, "papers": [], "days": {}})"),
            "no \"days\" array");
        keeps("year as text", Answer("200 OK", Schedule(9, "\"2027\"")), "\"year\" is not 2027");
        const auto day = [](const QByteArray& name, const QByteArray& date, const QByteArray& off) {
            const QByteArray text =
                "{\"name\": " + name + ", \"date\": \"" + date + "\", \"isOffDay\": " + off + "}";
            return Answer("200 OK", Schedule(9, "2027", text));
        };
        keeps("date out of range", day("\"a\"", "2029-01-01", "true"), "outside 2026..2028");
        keeps("no such date", day("\"a\"", "2027-02-29", "true"), "not a YYYY-MM-DD date");
        keeps("isOffDay as text", day("\"a\"", "2027-01-01", "\"true\""), "not a boolean");
        keeps("empty name", day("\"\"", "2027-01-01", "true"), "day 1: missing name");
        keeps("name of 33", day('"' + QByteArray(33, 'x') + '"', "2027-01-01", "true"),
            "longer than 32");
        keeps("oversized, announced", Answer("200 OK", QByteArray(300'000, ' ') + Schedule(9)),
            "larger than 256 KiB");
        keeps("oversized, unannounced", "HTTP/1.1 200 OK\r\n\r\n" + QByteArray(300'000, ' '),
            "larger than 256 KiB");
        keeps("redirect away over http",
            Answer("302 Found", {}, "Location: http://192.0.2.1/2027.json\r\n"),
            "refused a redirect");
        keeps("never answers", QByteArray(), "no complete answer within 1 s");
        keeps("drops most days", Answer("200 OK", Schedule(4)), "would remove 6 of 10 days");
        // Verification stays on: the test authority counts only once added.
        keeps("https, unknown authority", fresh, "certificate", 1);
        keeps("https redirect to http", moved, "refused a redirect", 2);
    }
    void update()
    {
        const auto [stored, answer, changed, error, after, tls] =
            Fetch<int, QByteArray, QString, QString, int, int>(
                "stored", "answer", "changed", "error", "after", "tls");
        CHolidayUpdate update(Fetched(), nullptr);
        update.setSource(Source(tls == 0 ? u"http"_s : u"https"_s));
        update.setTimeouts(1s, 1s);
        m_server.tls = tls != 0;
        if (tls == 2)
            update.addCaCertificates(QSslCertificate::fromPath(m_keys.filePath(u"ca.pem"_s)));
        if (stored != 0) {
            QVERIFY(uitest::WriteFile(Stored(), Schedule(stored)));
            QSettings(Fetched() + u"/state.ini"_s, QSettings::IniFormat)
                .setValue(u"etag/2027"_s, u"\"v1\""_s);
        }
        m_server.answers["/2027.json"] = answer;
        m_server.requests.clear();
        m_server.answers["/moved/2027.json"] = Answer("200 OK", Schedule(9));
        QSignalSpy finished(&update, &CHolidayUpdate::finished);
        update.Start({2027});
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().at(0).toStringList().join(u'|'), changed);
        const QString reported = finished.first().at(1).toString();
        QVERIFY2(error.isEmpty() ? reported.isEmpty()
                                 : reported.startsWith(u"2027: "_s) && reported.contains(error),
            qPrintable(reported));
        QCOMPARE(ReadFile(Stored()), Schedule(after));
        // A validator is sent only for a file there is to keep (no request passes an unknown
        // authority); a failure puts the next automatic check off.
        const QSettings state(Fetched() + u"/state.ini"_s, QSettings::IniFormat);
        QCOMPARE((QList<bool>{m_server.requests.value(0).contains("If-None-Match: \"v1\""),
                     state.contains(u"check/retryAfter"_s)}),
            (QList<bool>{stored != 0 && tls != 1, !error.isEmpty()}));
    }

    void autoCheck_data()
    {
        // state: the update's state file; now: UTC; mine: holidays.tsv over the shipped days
        Columns<QByteArray, QString, QByteArray, bool>("state", "now", "mine", "due");
        const QByteArray last = "[check]\nlast=2026-12-07T10:00:00Z\n";
        const auto row = [](const char* name, const QByteArray& state, const QString& now,
                             const QByteArray& mine,
                             bool due) { QTest::newRow(name) << state << now << mine << due; };
        row("never, December", {}, u"2026-12-07T12:00:00Z"_s, {}, true);
        row("2 h after, December", last, u"2026-12-07T12:00:00Z"_s, {}, false);
        row("a second short of a day", last, u"2026-12-08T09:59:59Z"_s, {}, false);
        row("a day after, December", last, u"2026-12-08T10:00:00Z"_s, {}, true);
        row("clock set back", last, u"2026-12-07T09:00:00Z"_s, {}, true);
        row("before the retry", "[check]\nretryAfter=2026-12-07T13:00:00Z\n",
            u"2026-12-07T12:00:00Z"_s, {}, false);
        row("at the retry", "[check]\nretryAfter=2026-12-07T13:00:00Z\n", u"2026-12-07T13:00:00Z"_s,
            {}, true);
        row("June, both years known", {}, u"2025-06-01T12:00:00Z"_s, {}, false);
        row("June, next year unknown", {}, u"2026-06-01T12:00:00Z"_s, {}, true);
        row("June, next year's only day in January", {}, u"2026-06-01T12:00:00Z"_s,
            "2027-01-01\t休\t元旦\n", false);
        row("June, next year's only day in December", {}, u"2026-06-01T12:00:00Z"_s,
            "2027-12-31\t班\t元旦\n", false);
        row("October, both years known", {}, u"2025-10-31T12:00:00Z"_s, {}, false);
        row("November", {}, u"2025-11-01T12:00:00Z"_s, {}, true);
        row("January", {}, u"2026-01-31T12:00:00Z"_s, {}, true);
        row("February", {}, u"2025-02-01T12:00:00Z"_s, {}, false);
    }
    void autoCheck()
    {
        const auto [state, now, mine, due] =
            Fetch<QByteArray, QString, QByteArray, bool>("state", "now", "mine", "due");
        QVERIFY(uitest::WriteFile(Fetched() + u"/state.ini"_s, state));
        const std::string_view lines(mine.constData(), static_cast<std::size_t>(mine.size()));
        const qov::HolidayTable table =
            qov::HolidayTable::Shipped().WithOverrides(qov::ParseHolidayFile(lines).lines);
        const CHolidayUpdate update(Fetched(), nullptr);
        QCOMPARE(update.AutoCheckDue(QDateTime::fromString(now, Qt::ISODate), table), due);
    }

    // `qov --update-holidays` stores 2027 while the window runs: the window
    // shows its 休 badge at once, and so does a new start on that day; a
    // broken file then fails with status 1 and leaves it.
    void commandLineAndWindow()
    {
        Open();
        m_dlg->SelectDate(qov::MonthPage(2027, 1, 15));
        const QRect badge = ToQRect(qov::CellBadgeRect(0, 5));  // Friday 1 January 2027
        const auto restBadge = [&badge](const QImage& picture) {
            const QRgb rest = uitest::Rgb(qov::colors::RestBadge);
            return uitest::CountPixels(picture, badge, [rest](QRgb p) { return p == rest; })
                > badge.width() * badge.height() / 2;
        };
        QVERIFY(!restBadge(m_dlg->RenderPicture()));

        m_server.answers["/2027.json"] = Answer("200 OK", Schedule(9));
        m_server.answers["/bad/2027.json"] = Answer("200 OK", "{\"year\": 2027,");
        const QString snapshot = m_keys.filePath(u"start.png"_s);  // of a start on 2027-01-01
        // qov run on 7 December 2026 to its end: "status|its output|its messages on standard
        // error" (lines from qov).
        const auto qov = [snapshot](const QStringList& arguments) {
            // The update asks for this year and the next. libfaketime comes
            // before AddressSanitizer's runtime in a sanitized build.
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"QOV_SNAPSHOT"_s, snapshot);
            env.insert(u"ASAN_OPTIONS"_s, u"verify_asan_link_order=0"_s);
            QProcess process;
            process.setProcessEnvironment(env);
            process.start(u"faketime"_s,
                QStringList{u"-f"_s, u"@2026-12-07 12:00:00"_s, QStringLiteral(QOV_APP_PATH)}
                    + arguments);
            // The test's server answers meanwhile.
            if (!QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }))
                return u"still running"_s;
            return u"%1|%2|%3"_s.arg(process.exitCode())
                .arg(QString::fromUtf8(process.readAllStandardOutput()))
                .arg(process.readAllStandardError().count("qov:"));
        };
        const QStringList update{u"--update-holidays"_s, u"--holiday-source"_s, Source()};
        QCOMPARE(qov(update), u"0|2027: 9 天（休 3，班 6）\n|0"_s);
        QTRY_VERIFY(restBadge(m_dlg->RenderPicture()));
        QCOMPARE(qov({u"--date"_s, u"2027-01-01"_s}), u"0||0"_s);
        QVERIFY(restBadge(QImage(snapshot)));

        // The window's own command: nothing new, said in a box that leaves the window free.
        m_dlg->holidayUpdate()->setSource(Source());
        m_dlg->UpdateHolidays();
        QTRY_VERIFY(m_dlg->findChild<QMessageBox*>(u"holidayUpdateBox"_s));
        QCOMPARE(m_dlg->findChild<QMessageBox*>(u"holidayUpdateBox"_s)->text(),
            u"节假日安排已是最新。"_s);

        // Switched off in the user's settings.
        QVERIFY(CHolidayUpdate::AutoUpdateEnabled());
        QSettings(QFileInfo(CHolidayFile::UserFilePath()).absolutePath() + u"/qov.conf"_s,
            QSettings::IniFormat)
            .setValue(u"holidays/autoUpdate"_s, false);
        QVERIFY(!CHolidayUpdate::AutoUpdateEnabled());

        const QByteArray stored = ReadFile(Stored());
        const QString broken = Source().replace(u"{year}"_s, u"bad/{year}"_s);
        QCOMPARE(qov({u"--update-holidays"_s, u"--holiday-source"_s, broken}), u"1||1"_s);
        QCOMPARE(ReadFile(Stored()), stored);
    }

    void parse_data()
    {
        // status: -1: the window starts; date: the page asked for, ISO; text: parts of what is
        // printed, separated by '|'
        Columns<QStringList, bool, int, QString, QString>(
            "arguments", "chinese", "status", "date", "text");
        // Each row is named by its arguments.
        const auto row = [](const char* args, bool zh, int status, const char* date,
                             const char* text) {
            QTest::addRow("%s%s", args, zh ? " (zh)" : "")
                << QString::fromUtf8(args).split(u' ', Qt::SkipEmptyParts) << zh << status
                << QString::fromUtf8(date) << QString::fromUtf8(text);
        };
        row("", false, -1, "", "");
        row("--help", true, 0, "", "用法：|  -h, --help, -?");
        row("-h", false, 0, "",
            "Usage: |--date <YYYY-MM-DD>|(default\n"
            "                          terms,holidays,lunar-festivals,gregorian-festivals).");
        row("--version", true, 0, "", "qov 万年历 1.0\n");
        row("--date=1900-01-01", false, -1, "1900-01-01", "");
        row("--date 2100-12-31", false, -1, "2100-12-31", "");
        row("--date 1900-02-29", true, 2, "", "日期 “1900-02-29” 无效");  // a common year
        row("--date 2023-04-31", false, 2, "", "invalid date '2023-04-31'");
        row("--date 1899-12-31", false, 2, "", "from 1900-01-01 to 2100-12-31");
        row("--date 2101-01-01", false, 2, "", "invalid date");
        row("--date 2008-8-8", false, 2, "", "invalid date");
        row("--date 2008-13-01", false, 2, "", "invalid date");
        row("--date", true, 2, "", "qov: ");
        // Plain http only to a literal loopback address.
        row("--holiday-source http://127.0.0.1:8080/{year}.json", false, -1, "", "");
        row("--holiday-source http://[::1]/{year}.json", false, -1, "", "");
        row("--holiday-source http://[::ffff:127.0.0.1]/{year}.json", false, -1, "", "");
        row("--holiday-source http://localhost/{year}.json", false, 2, "",
            "only https is accepted");
        row("--holiday-source http://127.0.0.256/{year}.json", false, 2, "",
            "only https is accepted");
        row("--holiday-source https://example.org/a.json", true, 2, "",
            "下载地址 “https://example.org/a.json” 无效：the address has no {year}");
        row("--bogus", false, 2, "", "qov: Unknown option 'bogus'.");
        row("2008-08-08", false, 2, "", "unexpected argument '2008-08-08'");
        row("-platform offscreen -style=fusion -reverse --date 2001-01-01", false, -1, "2001-01-01",
            "");
    }
    void parse()
    {
        auto [arguments, chinese, status, date, text] =
            Fetch<QStringList, bool, int, QString, QString>(
                "arguments", "chinese", "status", "date", "text");
        if (chinese) QCoreApplication::installTranslator(&m_qtChinese);
        arguments.prepend(u"qov"_s);
        const StartOptions options = ParseCommandLine(arguments, chinese);
        QCoreApplication::removeTranslator(&m_qtChinese);

        QCOMPARE(options.exitStatus.value_or(-1), status);
        for (const QString& part : text.split(u'|'))
            QVERIFY2(options.text.contains(part), qPrintable(options.text));
        if (status == 2) QVERIFY2(options.text.contains(u"--help"_s), qPrintable(options.text));
        QCOMPARE(options.date ? uitest::DateText(*options.date) : QString(), date);
    }

    // The program run. Refusals and help need no display and end before any
    // window: a window attempt on xcb with no DISPLAY would abort instead.
    // Otherwise the window opens on the page asked for with that day
    // selected: the selection fill lies in that day's cell of the first paint.
    // Without any Chinese face it says once on standard error which packages
    // bring one, and runs on.
    void program_data()
    {
        // arguments, environment: separated by spaces, the latter's settings "NAME=value" (set)
        // or "NAME" (removed); err: part of standard error, its one line from qov; date: the day
        // selected in the first paint
        Columns<QString, QString, int, QString, QString, QDate>(
            "arguments", "environment", "status", "out", "err", "date");
        const QString console = u"DISPLAY WAYLAND_DISPLAY LANGUAGE QT_QPA_PLATFORM=xcb LC_ALL="_s;
        const QString offscreen = u"QT_QPA_PLATFORM=offscreen"_s;
        const auto row = [](const char* args, const QString& env, int status, const char* out,
                             const char* err, QDate date) {
            QTest::addRow("%s %s", args, qPrintable(env.section(u' ', -1)))
                << QString::fromUtf8(args) << env << status << QString::fromUtf8(out)
                << QString::fromUtf8(err) << date;
        };
        // Qt's own message, translated: the translator is loaded without a window.
        row("--bogus", console + u"zh_CN.UTF-8"_s, 2, "", "qov: 未知选项“bogus”", {});
        row("-v", console + u"C"_s, 0, "qov Perpetual Calendar 1.0\n", "", {});
        row("--date 2008-08-08", offscreen, 0, "", "", QDate(2008, 8, 8));
        // No arguments: today.
        row("", offscreen + u" FONTCONFIG_FILE="_s + m_noFonts.filePath(u"fonts.conf"_s), 0, "",
            "no font for Chinese text", QDate::currentDate());
    }
    void program()
    {
        const auto [arguments, environment, status, out, errPart, date] =
            Fetch<QString, QString, int, QString, QString, QDate>(
                "arguments", "environment", "status", "out", "err", "date");
        // Its own runtime folder, so that no other copy counts as the first.
        const QTemporaryDir dir;
        const QString shot = dir.filePath(u"shot.png"_s);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_RUNTIME_DIR"_s, dir.path());
        env.insert(u"QOV_SNAPSHOT"_s, shot);
        for (const QString& setting : environment.split(u' '))
            setting.contains(u'=')
                ? env.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1))
                : env.remove(setting);
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(QStringLiteral(QOV_APP_PATH), arguments.split(u' ', Qt::SkipEmptyParts));
        QVERIFY(run.waitForFinished(20000) && run.exitStatus() == QProcess::NormalExit);
        QCOMPARE(run.exitCode(), status);
        const QString said = QString::fromUtf8(run.readAllStandardOutput());
        const QString err = QString::fromUtf8(run.readAllStandardError());
        QVERIFY2(out.isEmpty() ? said.isEmpty() : said.contains(out), qPrintable(said));
        QVERIFY2(err.contains(errPart) && err.count(u"qov:"_s) == (errPart.isEmpty() ? 0 : 1),
            qPrintable(err));
        QCOMPARE(QFile::exists(shot), date.isValid());
        if (!date.isValid()) return;
        const QImage picture(shot);
        QCOMPARE(picture.size(), QSize(680, 505));
        const qov::MonthPage page(date.year(), date.month(), date.day());
        const qov::Rect cell = qov::CellRect(page.SelectedCell().row, page.SelectedCell().column);
        const QRgb fill = uitest::Rgb(qov::colors::Selection);
        const int inCell = uitest::CountColour(picture, cell, fill);
        const int elsewhere = uitest::CountColour(picture, {0, 0, 680, 505}, fill) - inCell;
        // Most of the cell's background; no other cell is selected.
        QVERIFY2(inCell > cell.Width() * cell.Height() / 3, qPrintable(QString::number(inCell)));
        QVERIFY2(elsewhere < inCell / 10, qPrintable(QString::number(elsewhere)));
    }

    // A lock file that cannot be opened (a directory in its place) lets the
    // program run instead of counting as another instance. Later starts and
    // a start after kill -9 are the tray script's (tests/tray). A hand-over
    // that no copy answers fails, so that the start runs on.
    void singleInstance()
    {
        const QTemporaryDir dir;
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
        QVERIFY(QDir(dir.path()).mkdir(u"Blocked.lock"_s));
        const CSingleInstance blocked(u"Blocked"_s);
        QVERIFY(!blocked.AnotherIsRunning() && !CSingleInstance(u"Blocked"_s).AnotherIsRunning());
        QVERIFY(!HandOver(u"Blocked"_s, {}, 200));
        // A copy that answers and keeps the connection open: its answer ends the wait.
        QProcess held;
        const QString listener = u"import socket, sys, time; s = socket.socket(socket.AF_UNIX); "
                                 "s.bind(sys.argv[1]); s.listen(); print(flush=True); "
                                 "c = s.accept()[0]; c.recv(64); c.send(b'ok\\n'); time.sleep(9)"_s;
        held.start(u"python3"_s, {u"-c"_s, listener, ChannelName(u"Held"_s)});
        QVERIFY(held.waitForReadyRead(5000));
        const QDeadlineTimer soon(2500);
        QVERIFY(HandOver(u"Held"_s, {}, 5000) && !soon.hasExpired());
        held.kill();
        held.waitForFinished();
        // A channel path longer than a socket address holds is refused, never cut.
        const QString deep = dir.filePath(QString(100, u'd'));
        QVERIFY(QDir().mkpath(deep));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
        QVERIFY(!CInstanceServer(u"Blocked"_s).IsListening());
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
    }
    void load_data()
    {
        // bytes: "<none>" no file, "<folder>" a folder; read: the settings read (Summary) and
        // the message, past the file's name
        Columns<QByteArray, QString>("bytes", "read");
        const auto row = [](const char* name, const char* bytes, const char* read) {
            QTest::newRow(name) << QByteArray(bytes) << QString::fromUtf8(read);
        };
        row("missing", "<none>", "Stlgiwhue|");
        row("values",
            "# mine\n[calendar]\nweekStart=Monday ; ISO\n[show]\nterms = false\n[tray]\n"
            "autostart=TRUE\n",
            "Mlgiwhuea|");
        row("malformed", "[calendar\nweekStart=monday\n",
            "Stlgiwhue|is not an INI file; the default settings are used");
        row("bad values",
            "[calendar]\nweekStart=tuesday\n[show]\nterms=maybe\nholidayMarks=false\n",
            "Stlgiwue|show/terms is not true or false, calendar/weekStart is not sunday or monday; "
            "the default is used for them");
        row("folder", "<folder>",
            "Stlgiwhue|is a folder, not a file; the default settings are used");
    }
    void load()
    {
        const auto [bytes, read] = Fetch<QByteArray, QString>("bytes", "read");
        if (bytes == "<folder>")
            QVERIFY(QDir().mkpath(Conf()));
        else if (bytes != "<none>")
            QVERIFY(WriteFile(Conf(), bytes));
        QString said;
        const QString summary = Summary(settings::Load(Conf(), said));
        QCOMPARE(summary + u'|' + said.remove(Conf() + u": "_s), read);
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
    // it cannot read, refuses to overwrite a file changed on disk, and then
    // saves both files on OK.
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
        // A mydays.tsv changed on disk while the dialog is open is read again, not
        // overwritten, and the dialog stays open saying so.
        const auto remove = [&dialog, list](int row) {
            list->setCurrentRow(row);
            QTest::mouseClick(dialog.findChild<QPushButton*>(u"myDayRemove"_s), Qt::LeftButton);
        };
        remove(0);
        QCOMPARE(list->count(), 0);
        const QByteArray changed =
            "# 家人\n公历\t02-30\t写错\n农历\t08-15\t中秋\t1990\n公历\t01-02\t乙\n";
        QVERIFY(WriteFile(MyDays(), changed));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(ReadFile(MyDays()), changed);
        QCOMPARE(list->count(), 2);
        QVERIFY(dialog.findChild<QLabel*>(u"myDayStatus"_s)->text().contains(u"已在别处修改"_s));

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
        QCOMPARE(list->count(), 3);
        remove(0);
        // The autostart entry cannot be written (a folder in its place): the days
        // are saved, the dialog stays open, and the next OK saves the rest.
        QVERIFY(QDir().mkpath(AutostartFilePath()));
        dialog.accept();
        QVERIFY(QDir().rmdir(AutostartFilePath()));
        QVERIFY(dialog.findChild<QLabel*>(u"myDayStatus"_s)->text().startsWith(u"开机启动项"_s));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ReadFile(MyDays()),
            "# 家人\n公历\t02-30\t写错\n公历\t01-02\t乙\n农历\t闰04-30\t外婆生日\t1948\n");
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
    // The band in the festival red along the top, the paper white below it,
    // the number's ink in the paper; at 1x and at 2x for HiDPI.
    void leaf_data()
    {
        Columns<int, int>("day", "pixels");
        for (const int pixels : {16, 22, 32, 64})
            for (const int day : {7, 28})
                QTest::addRow("%d at %d px", day, pixels) << day << pixels;
    }
    void leaf()
    {
        const auto [day, pixels] = Fetch<int, int>("day", "pixels");
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage leaf = LeafIcon(day).pixmap(QSize(pixels, pixels), ratio).toImage();
            const int size = qRound(pixels * ratio);
            const int band = uitest::CountPixels(
                leaf, {0, 0, pixels, pixels / 4}, [](QRgb p) { return p == LeafBandColour(); });
            const int ink = uitest::CountPixels(leaf, {0, pixels / 2, pixels, pixels / 2},
                [](QRgb p) { return qAlpha(p) == 255 && qGray(p) < 100; });
            // Most of the band's width on the top quarter's rows.
            QVERIFY2(band > size * size / 8, qPrintable(QString::number(band)));
            QVERIFY2(ink > size * size / 64, qPrintable(QString::number(ink)));
            QVERIFY(leaf != LeafIcon(day + 1).pixmap(QSize(pixels, pixels), ratio).toImage());
        }
    }

    // One item a line; the term, the festivals, the user's days and the
    // holiday only on their days, and only as the window's settings show them.
    void toolTip_data()
    {
        // conf: qov.conf; mine: mydays.tsv
        Columns<QDate, QByteArray, QByteArray, QString>("date", "conf", "mine", "tip");
        QTest::newRow("sectional term") << QDate(2026, 12, 7) << QByteArray() << QByteArray()
                                        << u"2026年12月7日 星期一\n农历十月廿九\n大雪"_s;
        QTest::newRow("festival and day off")
            << QDate(2026, 10, 1) << QByteArray() << QByteArray()
            << u"2026年10月1日 星期四\n农历八月廿一\n国庆节 世界音乐日 国际老人节\n国庆节 休"_s;
        QTest::newRow("lunar festival, working day")
            << QDate(2026, 2, 14) << QByteArray() << QByteArray()
            << u"2026年2月14日 星期六\n农历十二月廿七\n情人节\n春节 调休上班"_s;
        QTest::newRow("leap month") << QDate(2025, 7, 25) << QByteArray() << QByteArray()
                                    << u"2025年7月25日 星期五\n农历闰六月初一"_s;
        QTest::newRow("kinds and marks off")
            << QDate(2026, 10, 1) << "[show]\ninternationalDays=false\nholidayMarks=false\n"_ba
            << QByteArray() << u"2026年10月1日 星期四\n农历八月廿一\n国庆节"_s;
        QTest::newRow("my day, terms off")
            << QDate(2026, 12, 7) << "[show]\nterms=false\n"_ba
            << "公历\t12-07\t外婆生日\t1948\n"_ba
            << u"2026年12月7日 星期一\n农历十月廿九\n外婆生日 第79个"_s;
    }
    void toolTip()
    {
        const auto [date, conf, mine, tip] =
            Fetch<QDate, QByteArray, QByteArray, QString>("date", "conf", "mine", "tip");
        QVERIFY(uitest::WriteFile(settings::FilePath(), conf));
        QVERIFY(uitest::WriteFile(CMyDaysFile::UserFilePath(), mine));
        const CCalendarDlg dlg;
        QCOMPARE(TrayToolTip(FromQDate(date), dlg.DayOptions()), tip);
    }

    // The menu's actions, the click, and closing with the tray and after its
    // switch went off in the preferences.
    void menuAndClose()
    {
        CCalendarHost host(true);
        CCalendarDlg& dlg = *host.dialog();
        QSignalSpy quit(&host, &CCalendarHost::quitRequested);
        QSignalSpy hidden(&dlg, &CCalendarDlg::hiddenToTray);
        const auto action = [&host](const char* name) {
            return host.trayMenu()->findChild<QAction*>(QString::fromLatin1(name));
        };
        QString texts;
        for (const QAction* a : host.trayMenu()->actions()) texts += a->text() + u'|';
        QCOMPARE(texts, u"显示日历|今天||设置…|更新节假日安排||关于|退出|"_s);

        dlg.SetHideOnClose(true);  // as with the tray on
        dlg.SelectDate(qov::MonthPage(2008, 8, 8));
        action("todayAction")->trigger();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.selectedDate(), qov::Today());
        host.OnActivated(QSystemTrayIcon::Trigger);  // shown: the click hides it
        QVERIFY(!dlg.isVisible());
        dlg.SelectDate(qov::MonthPage(2008, 8, 8));
        host.OnActivated(QSystemTrayIcon::Trigger);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.selectedDate(), qov::Today());
        dlg.SelectDate(qov::MonthPage(2008, 8, 8));
        dlg.hide();
        action("showAction")->trigger();  // as it was left
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2008, 8, 8}));

        // With the tray on, Esc hides the window and the program stays.
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(hidden.count(), 2);  // the click's hide, then Esc
        QCOMPARE(quit.count(), 0);

        // 显示托盘图标 off: the window comes back, and closing it ends the program.
        QovSettings values = dlg.settings();
        values.trayEnabled = false;
        dlg.ApplySettings(values);
        QVERIFY(host.tray() == nullptr && dlg.isVisible());
        QTest::keyClick(&dlg, Qt::Key_Escape);
        QCOMPARE(quit.count(), 1);
        action("quitAction")->trigger();
        QCOMPARE(quit.count(), 2);
    }

    // The ring on today's cell, on any page where today appears, also on the
    // selection fill; at 100 % and 200 %.
    void todayRing_data()
    {
        Columns<QString, QDate>("page", "today");
        QTest::newRow("selected") << u"2026-12-07"_s << QDate(2026, 12, 7);
        QTest::newRow("next month's cell") << u"2026-12-31"_s << QDate(2027, 1, 1);
    }
    void todayRing()
    {
        const auto [page, today] = Fetch<QString, QDate>("page", "today");
        CCalendarDlg dlg;
        dlg.SelectDate(uitest::PageOf(page));
        dlg.SetToday(FromQDate(today));
        for (const int ratio : {1, 2}) {
            // The cell's full height but the ends of the rounded corners, in device pixels.
            const int ring = RingPixels(dlg, today, ratio);
            QVERIFY2(ring >= 30 * ratio, qPrintable(QString::number(ring)));
            QCOMPARE(RingPixels(dlg, today.addDays(1), ratio), 0);  // no other cell
        }
    }

    // Under faketime from 23:59:53 on 31 December 2026 (tray_test.sh): the
    // ring, the tray's tip with the user's day and 今天 reach the new year
    // while the page stays on December; then the clock jumps four days and,
    // the window shown, they follow at its clock's next tick.
    void midnight()
    {
        const QString stamp = qEnvironmentVariable("FAKETIME_TIMESTAMP_FILE");
        if (stamp.isEmpty()) QSKIP("runs under faketime, from tray_test.sh");
        QVERIFY(WriteFile(MyDays(), "公历\t01-01\t新年愿望\n"));
        QVERIFY(WriteFile(Conf(), "[show]\ngregorianFestivals=false\n"));  // the tip follows it
        CCalendarHost host(true);
        CCalendarDlg& dlg = *host.dialog();
        host.StartTray();
        QVERIFY(host.tray() != nullptr);  // trayer runs
        host.ShowToday();
        // Made before midnight even on a loaded machine.
        QCOMPARE(uitest::DateText(dlg.today()), u"2026-12-31"_s);
        QVERIFY(host.tray()->toolTip().startsWith(u"2026年12月31日 星期四\n"_s));
        QVERIFY2(host.todayWatch()->RemainingMs() < 7000,
            qPrintable(QString::number(host.todayWatch()->RemainingMs())));

        QTRY_COMPARE_WITH_TIMEOUT(uitest::DateText(dlg.today()), u"2027-01-01"_s, 8000);
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2026, 12, 31}));
        QVERIFY(RingPixels(dlg, QDate(2027, 1, 1), 1) > 30);
        QCOMPARE(RingPixels(dlg, QDate(2026, 12, 31), 1), 0);
        QCOMPARE(host.tray()->toolTip(), u"2027年1月1日 星期五\n农历十一月廿四\n新年愿望"_s);
        QVERIFY(host.todayWatch()->RemainingMs() > 86000 * 1000);  // the next midnight

        // A day's jump and more, seen by the shown window's clock.
        QVERIFY(uitest::WriteFile(stamp, "@2027-01-05 12:00:00\n"));
        QTRY_COMPARE_WITH_TIMEOUT(uitest::DateText(dlg.today()), u"2027-01-05"_s, 5000);
        QVERIFY(host.tray()->toolTip().startsWith(u"2027年1月5日 星期二\n"_s));
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2026, 12, 31}));
        dlg.findChild<QPushButton*>(u"todayButton"_s)->click();
        QCOMPARE(dlg.selectedDate(), (qov::SolarDate{2027, 1, 5}));
    }
};

QOV_UI_TEST_MAIN(TestProgram)
#include "tst_program.moc"
