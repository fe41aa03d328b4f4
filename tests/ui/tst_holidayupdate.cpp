// The holiday update against servers on 127.0.0.1 started here: one table
// of answers (good, unchanged, broken, hostile) with the stored file after
// each, https with a test authority, and a running window that shows a
// 2027 badge once `qov --update-holidays` has stored the year.
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>

#include "holidayfile.h"
#include "holidays/holidayupdate.h"
#include "holidays/updatejob.h"
#include "uitest.h"

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;
using uitest::Columns, uitest::Fetch, uitest::ReadFile;

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

}  // namespace

class TestHolidayUpdate : public uitest::DialogTest {
    Q_OBJECT

    QTemporaryDir m_data;  // $XDG_DATA_HOME of this test
    QTemporaryDir m_keys;  // a test authority and the server's certificate from it
    Server m_server;
    QString Folder() const { return m_data.path() + u"/qov/holiday-cn"_s; }
    QString Stored() const { return Folder() + u"/2027.json"_s; }
    QString Source(const QString& scheme = u"http"_s) const
    {
        return u"%1://127.0.0.1:%2/{year}.json"_s.arg(scheme).arg(m_server.serverPort());
    }
    QByteArray Moved(const QByteArray& scheme) const
    {
        return "Location: " + scheme + "://127.0.0.1:" + QByteArray::number(m_server.serverPort())
            + "/moved/2027.json\r\n";
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_data.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
        QVERIFY(uitest::MakeRuntimeDir());
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        const QString script = uR"(cd "$0" && exec 2>/dev/null &&
            openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=ca -keyout ca.key \
              -out ca.pem &&
            openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
              -addext subjectAltName=IP:127.0.0.1 -CA ca.pem -CAkey ca.key -keyout server.key \
              -out server.pem)"_s;
        QCOMPARE(QProcess::execute(u"sh"_s, {u"-c"_s, script, m_keys.path()}), 0);
        m_server.certificate = QSslCertificate::fromPath(m_keys.filePath(u"server.pem"_s)).value(0);
        m_server.key = QSslKey(ReadFile(m_keys.filePath(u"server.key"_s)), QSsl::Rsa);
    }
    void init() { QDir(Folder()).removeRecursively(); }
    void cleanup()
    {
        m_dlg.reset();
        m_server.answers.clear();
        m_server.requests.clear();
        m_server.tls = false;
    }

    void update_data()
    {
        // stored, after: days of Schedule() in the file before (0: no file) and after; changed:
        // the line printed; error: part of the failure; tls: 0 http, 1 https from an unknown
        // authority, 2 https from the test authority, added
        Columns<int, QByteArray, QString, QString, int, int>(
            "stored", "answer", "changed", "error", "after", "tls");
        const auto row = [](const char* name, int stored, const QByteArray& answer,
                             const char* changed, const char* error, int after, int tls = 0) {
            QTest::newRow(name) << stored << answer << QString::fromUtf8(changed)
                                << QString::fromUtf8(error) << after << tls;
        };
        const char* nine = "2027: 9 天（休 3，班 6）";
        const QByteArray fresh = Answer("200 OK", Schedule(9));
        const QByteArray moved = Answer("302 Found", {}, Moved("http"));
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
        CHolidayUpdate update(Folder(), nullptr);
        update.setSource(Source(tls == 0 ? u"http"_s : u"https"_s));
        update.setTimeouts(1s, 1s);
        m_server.tls = tls != 0;
        if (tls == 2)
            update.addCaCertificates(QSslCertificate::fromPath(m_keys.filePath(u"ca.pem"_s)));
        if (stored != 0) {
            QVERIFY(uitest::WriteFile(Stored(), Schedule(stored)));
            QSettings(Folder() + u"/state.ini"_s, QSettings::IniFormat)
                .setValue(u"etag/2027"_s, u"\"v1\""_s);
        }
        m_server.answers["/2027.json"] = answer;
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
        const QSettings state(Folder() + u"/state.ini"_s, QSettings::IniFormat);
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
        QVERIFY(uitest::WriteFile(Folder() + u"/state.ini"_s, state));
        const std::string_view lines(mine.constData(), static_cast<std::size_t>(mine.size()));
        const qov::HolidayTable table =
            qov::HolidayTable::Shipped().WithOverrides(qov::ParseHolidayFile(lines).lines);
        const CHolidayUpdate update(Folder(), nullptr);
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
        const QString snapshot = m_data.path() + u"/start.png"_s;  // of a start on 2027-01-01
        const auto qov = [this, snapshot](const QStringList& arguments, QProcess& process) {
            // The update asks for this year and the next. libfaketime comes
            // before AddressSanitizer's runtime in a sanitized build.
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"QOV_SNAPSHOT"_s, snapshot);
            env.insert(u"ASAN_OPTIONS"_s, u"verify_asan_link_order=0"_s);
            process.setProcessEnvironment(env);
            process.start(u"faketime"_s,
                QStringList{u"-f"_s, u"@2026-12-07 12:00:00"_s, QStringLiteral(QOV_APP_PATH)}
                    + arguments);
            QTRY_VERIFY_WITH_TIMEOUT(process.state() == QProcess::NotRunning, 10000);
        };
        QProcess update;
        qov({u"--update-holidays"_s, u"--holiday-source"_s, Source()}, update);
        QVERIFY2(update.exitCode() == 0, update.readAllStandardError().constData());
        QCOMPARE(update.readAllStandardOutput(), "2027: 9 天（休 3，班 6）\n");
        QTRY_VERIFY(restBadge(m_dlg->RenderPicture()));

        QProcess start;
        qov({u"--date"_s, u"2027-01-01"_s}, start);
        QCOMPARE(start.exitCode(), 0);
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
        QProcess broken;
        qov({u"--update-holidays"_s, u"--holiday-source"_s,
                Source().replace(u"{year}"_s, u"bad/{year}"_s)},
            broken);
        QCOMPARE(broken.exitCode(), 1);
        QCOMPARE(broken.readAllStandardError().count('\n'), 1);
        QCOMPARE(ReadFile(Stored()), stored);
    }
};

QOV_UI_TEST_MAIN(TestHolidayUpdate)
#include "tst_holidayupdate.moc"
