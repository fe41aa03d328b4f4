// The window's helper controls on their own: the hover tip (measuring,
// placing, hiding, repainting, handing on mouse moves), the date field
// (typing, blocked editing, field pick by click, focus loss, completion),
// the clock and the time-zone label.
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <ctime>
#include <optional>
#include <vector>

#include "controls/clocklabels.h"
#include "controls/qovedit.h"
#include "controls/tipwindow.h"
#include "platform/zonename.h"

using namespace Qt::StringLiterals;

namespace {

std::string Gbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    return bytes.toStdString();
}

const QString Sample = u" 甲子年 甲子月 甲子日"_s;

// A top-level owner that records the mouse moves it receives.
class Owner : public QWidget {
public:
    struct Move {
        QPoint pos;
        Qt::MouseButtons buttons;
    };
    std::vector<Move> moves;

protected:
    void mouseMoveEvent(QMouseEvent* event) override
    {
        moves.push_back({event->position().toPoint(), event->buttons()});
    }
};

// A point inside character `index` of the edit's text as the line edit itself
// lays the text out: one pixel left of where its nearest cursor position
// turns from `index` to `index + 1` (the middle of the character).
QPoint InsideCharacter(QLineEdit* edit, int index)
{
    const int y = edit->height() / 2;
    for (int x = 0; x < edit->width(); ++x)
        if (edit->cursorPositionAt(QPoint(x, y)) > index) return {x - 1, y};
    return {edit->width() - 1, y};
}

bool HasColourInRows(const QImage& image, QColor colour, int top, int bottom, int* leftmost = nullptr,
                     int* rightmost = nullptr)
{
    bool found = false;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != colour) continue;
            if (leftmost && (!found || x < *leftmost)) *leftmost = x;
            if (rightmost && (!found || x > *rightmost)) *rightmost = x;
            found = true;
        }
    }
    return found;
}

}  // namespace

class TestControls : public QObject {
    Q_OBJECT

private:
    Owner* m_owner = nullptr;
    CTipWindow* m_tip = nullptr;
    int SampleWidth() const { return QFontMetrics(CTipWindow::TipFont()).horizontalAdvance(Sample); }
    int LineHeight() const { return QFontMetrics(CTipWindow::TipFont()).height(); }
    void SetPlainText(const QString& line1 = u"2009 年 7 月 1 日"_s, const QString& note = {})
    {
        m_tip->SetText(Gbk(line1), Gbk(u"星期三"_s), Gbk(u"农历 5 月 9 日"_s), Gbk(u"己丑年 庚午月 丁亥日"_s), Gbk(note));
    }

private Q_SLOTS:
    void init();
    void cleanup();

    // Hover tip
    void tipWindowKind();
    void tipWidthFromSampleLine_data();
    void tipWidthFromSampleLine();
    void tipNoteRoom_data();
    void tipNoteRoom();
    void tipTallerThan300Hides();
    void tipPlacement_data();
    void tipPlacement();
    void tipNothingBeforeFirstText();
    void tipRepaintsOnlyForNewDate();
    void tipPaintsLayoutAndColours();
    void tipHandsMouseMovesToOwner();

    // Date field
    void editStartsToday();
    void editTyping_data();
    void editTyping();
    void editIgnoresNonDigits_data();
    void editIgnoresNonDigits();
    void editDeleteKeepsStoredDate();
    void editInputMethodCommitTypesDigitsOnly();
    void editNoContextMenuNoMouseSelection();
    void editClickPicksField_data();
    void editClickPicksField();
    void editFocusLossNormalises();
    void editKeyboardFocusStartsAtYear();
    void editCompletionIsSynchronous();
    void editEnterAndEscapeGoToParent();

    // Clock and zone label
    void clockText_data();
    void clockText();
    void clockBlankForFirstSecond();
    void zoneNames_data();
    void zoneNames();
    void zoneLabelShanghai();
};

void TestControls::init()
{
    m_owner = new Owner;
    m_owner->setMouseTracking(true);  // as the main window: moves without buttons arrive
    m_owner->setGeometry(100, 100, 680, 505);
    m_owner->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_owner));
    m_tip = new CTipWindow(m_owner);
}

void TestControls::cleanup()
{
    delete m_owner;  // the tip goes with it
    m_owner = nullptr;
    m_tip = nullptr;
}

void TestControls::tipWindowKind()
{
    const Qt::WindowFlags flags = m_tip->windowFlags();
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::ToolTip);
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(m_tip->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(m_tip->focusPolicy(), Qt::NoFocus);
    QCOMPARE(qRound(m_tip->windowOpacity() * 255), 229);
    QVERIFY(m_tip->isWindow());
    QVERIFY(!m_tip->isVisible());

    // Showing it leaves the focus where it was.
    auto* field = new QLineEdit(m_owner);
    field->show();
    m_owner->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_owner));
    field->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), field);
    SetPlainText();
    m_tip->Show(m_owner->geometry().topLeft() + QPoint(200, 200), true);
    QVERIFY(m_tip->isVisible());
    QTest::qWait(20);
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(QApplication::activeWindow(), m_owner);
}

void TestControls::tipWidthFromSampleLine_data()
{
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line4");
    QTest::newRow("short lines") << u"1 年 1 月 1 日"_s << u"甲子年 甲子月 甲子日"_s;
    QTest::newRow("long date") << u"2049 年 12 月 31 日"_s << u"己巳年 丙子月 癸卯日"_s;
    QTest::newRow("empty lines") << QString() << QString();
}

void TestControls::tipWidthFromSampleLine()
{
    QFETCH(QString, line1);
    QFETCH(QString, line4);
    m_tip->SetText(Gbk(line1), {}, {}, Gbk(line4), {});
    QCOMPARE(m_tip->sampleWidth(), SampleWidth());
    QCOMPARE(m_tip->textHeight(), 4 * LineHeight());
    QVERIFY(m_tip->sampleWidth() > QFontMetrics(CTipWindow::TipFont()).horizontalAdvance(u"己巳年 丙子月 癸卯日"_s));
    QCOMPARE(m_tip->line(0), line1);
    QCOMPARE(m_tip->line(3), line4);

    const QPoint pointer = m_owner->geometry().topLeft() + QPoint(250, 150);
    m_tip->Show(pointer, true);
    QVERIFY(m_tip->isVisible());
    // Centred on the pointer, 20 px below it; 4 px wider than the sample,
    // 8 px taller than the four lines when there is no note.
    QCOMPARE(m_tip->geometry(), QRect(pointer.x() - SampleWidth() / 2, pointer.y() + 20, SampleWidth() + 4,
                                      4 * LineHeight() + 8));
}

namespace {

// A note of `count` copies of one CJK character; such glyphs have whole-pixel
// advances, so the note's one-line width is exactly count times one glyph.
QString CjkNote(int count)
{
    return QString(count, QChar(u'国'));
}

// The smallest CJK note that needs `rows` rows of room: just over rows - 1
// sample widths (an exact multiple already takes the next row).
QString NoteForRows(int rows, int sampleWidth, int glyphWidth)
{
    return rows <= 1 ? CjkNote(1) : CjkNote((rows - 1) * sampleWidth / glyphWidth + 1);
}

}  // namespace

void TestControls::tipNoteRoom_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<int>("rows");  // note rows reserved
    const int glyph = QFontMetrics(CTipWindow::TipFont()).horizontalAdvance(u'国');
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("one short festival") << u"建军节 "_s << 1;
    QTest::newRow("sample without leading space") << Sample.mid(1) << 1;
    QTest::newRow("exactly sample wide") << Sample << 2;
    QTest::newRow("just over one sample") << NoteForRows(2, SampleWidth(), glyph) << 2;
    QTest::newRow("just over two samples") << NoteForRows(3, SampleWidth(), glyph) << 3;
    QTest::newRow("just over five samples") << NoteForRows(6, SampleWidth(), glyph) << 6;
}

void TestControls::tipNoteRoom()
{
    QFETCH(QString, note);
    QFETCH(int, rows);
    const QFontMetrics metrics(CTipWindow::TipFont());
    // Preconditions on the installed font: the note's width lies in the
    // band of its row count.
    const int width = metrics.horizontalAdvance(note);
    if (note.startsWith(u'国')) QCOMPARE(width, note.size() * metrics.horizontalAdvance(u'国'));
    if (rows >= 2) QVERIFY(width >= (rows - 1) * SampleWidth() && width < rows * SampleWidth());
    SetPlainText(u"2009 年 8 月 1 日"_s, note);
    QCOMPARE(m_tip->noteHeight(), rows * LineHeight());
    QCOMPARE(m_tip->noteWidth(), rows == 0 ? 0 : SampleWidth());
    QCOMPARE(m_tip->note(), note);
    m_tip->Show(m_owner->geometry().topLeft() + QPoint(250, 100), true);
    QVERIFY(m_tip->isVisible());
    QCOMPARE(m_tip->height(), 4 * LineHeight() + rows * LineHeight() + 8);
}

void TestControls::tipTallerThan300Hides()
{
    // Height with k note rows: (4 + k) line heights + 8.
    const int lh = LineHeight();
    const int glyph = QFontMetrics(CTipWindow::TipFont()).horizontalAdvance(u'国');
    const int maxRows = (300 - 8) / lh - 4;
    const QPoint pointer = m_owner->geometry().topLeft() + QPoint(250, 60);
    for (const int rows : {maxRows, maxRows + 1}) {
        SetPlainText(u"2009 年 8 月 1 日"_s, NoteForRows(rows, SampleWidth(), glyph));
        QCOMPARE(m_tip->noteHeight(), rows * lh);
        m_tip->Show(pointer, true);
        QCOMPARE(m_tip->isVisible(), (4 + rows) * lh + 8 <= 300);
    }
    QVERIFY(!m_tip->isVisible());
}

void TestControls::tipPlacement_data()
{
    // Offsets of the pointer from the owner's window rectangle (680 x 505);
    // the tip's top-right corner must lie inside it, right and bottom edges
    // excluded.
    QTest::addColumn<QString>("anchor");  // which coordinate is at an edge
    QTest::addColumn<int>("delta");
    QTest::addColumn<bool>("visible");
    QTest::newRow("right edge, last pixel inside") << u"right"_s << 0 << true;
    QTest::newRow("right edge, on the edge") << u"right"_s << 1 << false;
    QTest::newRow("right edge, far outside") << u"right"_s << 40 << false;
    QTest::newRow("bottom edge, last row inside") << u"bottom"_s << 0 << true;
    QTest::newRow("bottom edge, y + 20 on the edge") << u"bottom"_s << 1 << false;
    QTest::newRow("top edge, first row") << u"top"_s << 0 << true;
    QTest::newRow("top edge, above") << u"top"_s << -1 << false;
    QTest::newRow("left edge, corner on first column") << u"left"_s << 0 << true;
    QTest::newRow("left edge, corner left of it") << u"left"_s << -1 << false;
}

void TestControls::tipPlacement()
{
    QFETCH(QString, anchor);
    QFETCH(int, delta);
    QFETCH(bool, visible);
    SetPlainText();
    const QRect frame = m_owner->frameGeometry();
    const int width = SampleWidth() + 4;
    const int rightOffset = width - SampleWidth() / 2;  // corner x - pointer x
    QPoint pointer = frame.center();
    if (anchor == u"right") pointer.setX(frame.right() - rightOffset + delta);
    if (anchor == u"left") pointer.setX(frame.left() - rightOffset + delta);
    if (anchor == u"bottom") pointer.setY(frame.bottom() - 20 + delta);
    if (anchor == u"top") pointer.setY(frame.top() - 20 + delta);
    m_tip->Show(pointer, true);
    QCOMPARE(m_tip->isVisible(), visible);
    if (visible) QCOMPARE(m_tip->pos(), QPoint(pointer.x() - SampleWidth() / 2, pointer.y() + 20));

    // A hide request hides; a second one changes nothing.
    m_tip->Show(pointer, false);
    QVERIFY(!m_tip->isVisible());
    const QRect hiddenGeometry = m_tip->geometry();
    m_tip->Show(pointer + QPoint(5, 5), false);
    QVERIFY(!m_tip->isVisible());
    QCOMPARE(m_tip->geometry(), hiddenGeometry);
}

void TestControls::tipNothingBeforeFirstText()
{
    QCOMPARE(m_tip->sampleWidth(), 0);
    QCOMPARE(m_tip->textHeight(), 0);
    m_tip->Show(m_owner->geometry().center(), true);
    QVERIFY(!m_tip->isVisible());
}

void TestControls::tipRepaintsOnlyForNewDate()
{
    const QPoint pointer = m_owner->geometry().topLeft() + QPoint(250, 150);
    SetPlainText(u"2009 年 7 月 1 日"_s);
    QCOMPARE(m_tip->repaintRequests(), 1);
    m_tip->Show(pointer, true);
    QTRY_VERIFY(m_tip->paintCount() >= 1);
    QTest::qWait(30);
    const int painted = m_tip->paintCount();

    // Same date, other lines and a move within the cell: no repaint.
    m_tip->SetText(Gbk(u"2009 年 7 月 1 日"_s), Gbk(u"星期四"_s), {}, {}, {});
    m_tip->Show(pointer + QPoint(3, 2), true);
    QCOMPARE(m_tip->repaintRequests(), 1);
    QTest::qWait(50);
    QCOMPARE(m_tip->paintCount(), painted);
    QCOMPARE(m_tip->pos(), QPoint(pointer.x() + 3 - SampleWidth() / 2, pointer.y() + 22));

    // A new date repaints.
    SetPlainText(u"2009 年 7 月 2 日"_s);
    QCOMPARE(m_tip->repaintRequests(), 2);
    QTRY_VERIFY(m_tip->paintCount() > painted);
}

void TestControls::tipPaintsLayoutAndColours()
{
    SetPlainText(u"2009 年 8 月 1 日"_s, u"建军节 "_s);
    m_tip->Show(m_owner->geometry().topLeft() + QPoint(250, 100), true);
    const QImage image = m_tip->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int th = m_tip->textHeight();
    const int lh = m_tip->lineHeight();
    const QColor background(50, 50, 132);
    const QColor box(204, 255, 204);
    QCOMPARE(image.pixelColor(0, 0), background);
    QCOMPARE(image.pixelColor(w - 1, h - 1), background);  // one background row and column around the box
    QCOMPARE(image.pixelColor(0, th + 5), background);
    QCOMPARE(image.pixelColor(1, th + 4), background);     // the 3-pixel gap
    QCOMPARE(image.pixelColor(1, th + 5), box);
    QCOMPARE(image.pixelColor(w - 2, h - 2), box);
    QCOMPARE(image.pixelColor(w - 2, th + 5), box);

    // Each line in its own colour and band, right-aligned: the ink ends near
    // the right margin and starts well right of the left one.
    const QColor colours[4] = {{255, 255, 255}, {255, 255, 255}, {255, 153, 255}, {255, 255, 51}};
    for (int i = 0; i < 4; ++i) {
        int left = 0;
        int right = 0;
        QVERIFY2(HasColourInRows(image, colours[i], 2 + i * lh, 2 + (i + 1) * lh, &left, &right),
                 qPrintable(u"line %1"_s.arg(i + 1)));
        QVERIFY(right >= w - 2 - 4 && right < w - 2);
        QVERIFY(left > 6);
    }
    // The pink and yellow lines stay in their bands.
    QVERIFY(!HasColourInRows(image, colours[2], 0, 2 + 2 * lh));
    QVERIFY(!HasColourInRows(image, colours[3], 0, 2 + 3 * lh));
    // A one-row note is right-aligned in the box in dark blue.
    int left = 0;
    int right = 0;
    QVERIFY(HasColourInRows(image, QColor(0, 0, 51), th + 6, h - 2, &left, &right));
    const int space = QFontMetrics(CTipWindow::TipFont()).horizontalAdvance(u' ');
    QVERIFY(right >= w - 1 - space - 4);  // the trailing space is part of the text
    QVERIFY(left > w / 2);
}

void TestControls::tipHandsMouseMovesToOwner()
{
    SetPlainText();
    const QPoint pointer = m_owner->geometry().topLeft() + QPoint(250, 150);
    m_tip->Show(pointer, true);
    QVERIFY(QTest::qWaitForWindowExposed(m_tip));
    m_owner->moves.clear();

    const QPoint onTip(10, 5);
    const QPoint global = m_tip->mapToGlobal(onTip);
    QMouseEvent move(QEvent::MouseMove, QPointF(onTip), QPointF(global), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(m_tip, &move);
    QVERIFY(m_owner->moves.empty());  // posted, not sent
    QTRY_COMPARE(m_owner->moves.size(), std::size_t{1});
    QCOMPARE(m_owner->moves[0].pos, m_owner->mapFromGlobal(global));
    QCOMPARE(m_owner->moves[0].buttons, Qt::MouseButtons(Qt::NoButton));

    // Through the window system as well.
    QTest::mouseMove(m_tip, QPoint(30, 20));
    QTRY_VERIFY(m_owner->moves.size() >= 2);
    QCOMPARE(m_owner->moves.back().pos, m_owner->mapFromGlobal(m_tip->mapToGlobal(QPoint(30, 20))));
}

// ---- date field ----------------------------------------------------------

namespace {

struct EditFixture {
    QWidget window;
    CQovEdit* edit;
    QLineEdit* other;
    explicit EditFixture(int id = 1063)
    {
        auto* layout = new QVBoxLayout(&window);
        edit = new CQovEdit(id, &window);
        other = new QLineEdit(&window);
        layout->addWidget(edit);
        layout->addWidget(other);
        window.resize(200, 80);
        window.show();
        window.activateWindow();
    }
};

}  // namespace

void TestControls::editStartsToday()
{
    EditFixture f;
    const qov::SolarDate today = qov::Today();
    QCOMPARE(f.edit->GetDate(), today);
    QCOMPARE(f.edit->text(), QString::asprintf("%.4d-%.2d-%.2d", today.year, today.month, today.day));
    QCOMPARE(f.edit->controlId(), 1063);
    QCOMPARE(f.edit->contextMenuPolicy(), Qt::NoContextMenu);
    QVERIFY(!f.edit->acceptDrops());
}

void TestControls::editTyping_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("texts");       // after each key
    QTest::addColumn<QStringList>("selections");  // selected text after each key; "" none
    QTest::addColumn<int>("completions");
    QTest::newRow("year 2009")
        << QDate(2012, 7, 15) << 1 << u"2009"_s << QStringList{u"2000-07-15"_s, u"2000-07-15"_s, u"2000-07-15"_s, u"2009-07-15"_s}
        << QStringList{u"2000"_s, u"2000"_s, u"2000"_s, u"07"_s} << 0;
    QTest::newRow("year 0000 clamps")
        << QDate(2012, 7, 15) << 1 << u"0000"_s << QStringList{u"0000-07-15"_s, u"0000-07-15"_s, u"0000-07-15"_s, u"0001-07-15"_s}
        << QStringList{u"0000"_s, u"0000"_s, u"0000"_s, u"07"_s} << 0;
    QTest::newRow("month 1 then 5") << QDate(2009, 3, 15) << 2 << u"15"_s << QStringList{u"2009-10-15"_s, u"2009-12-15"_s}
                                    << QStringList{u"10"_s, u"15"_s} << 0;
    QTest::newRow("month 0 then 0") << QDate(2009, 3, 15) << 2 << u"00"_s << QStringList{u"2009-00-15"_s, u"2009-01-15"_s}
                                    << QStringList{u"00"_s, u"15"_s} << 0;
    QTest::newRow("month 2 keeps day 31") << QDate(2009, 1, 31) << 2 << u"2"_s << QStringList{u"2009-02-31"_s}
                                          << QStringList{u"31"_s} << 0;
    QTest::newRow("day 3 then 5 in February") << QDate(2009, 2, 1) << 3 << u"35"_s
                                              << QStringList{u"2009-02-30"_s, u"2009-02-28"_s} << QStringList{u"30"_s, QString()} << 1;
    QTest::newRow("day 5 completes") << QDate(2009, 2, 1) << 3 << u"5"_s << QStringList{u"2009-02-05"_s}
                                     << QStringList{QString()} << 1;
    QTest::newRow("digits after completion") << QDate(2009, 2, 1) << 3 << u"59"_s
                                             << QStringList{u"2009-02-05"_s, u"2009-02-14"_s} << QStringList{QString(), QString()} << 2;
    QTest::newRow("whole date") << QDate(2012, 12, 31) << 1 << u"20090701"_s
                                << QStringList{u"2000-12-31"_s, u"2000-12-31"_s, u"2000-12-31"_s, u"2009-12-31"_s,
                                               u"2009-00-31"_s, u"2009-07-31"_s, u"2009-07-00"_s, u"2009-07-01"_s}
                                << QStringList{u"2000"_s, u"2000"_s, u"2000"_s, u"12"_s, u"00"_s, u"31"_s, u"00"_s, QString()}
                                << 1;
}

void TestControls::editTyping()
{
    QFETCH(QDate, start);
    QFETCH(int, field);
    QFETCH(QString, keys);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, selections);
    QFETCH(int, completions);
    EditFixture f(1064);
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QSignalSpy spy(f.edit, &CQovEdit::entryComplete);
    f.edit->SetDate(start.year(), start.month(), start.day());
    f.edit->SelectField(field);
    QTRY_VERIFY(f.edit->hasFocus());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QTest::keyClick(f.edit, keys.at(i).toLatin1());
        QCOMPARE(f.edit->text(), texts.at(i));
        QCOMPARE(f.edit->selectedText(), selections.at(i));
    }
    QCOMPARE(spy.size(), completions);
    for (const QList<QVariant>& args : spy) QCOMPARE(args.at(0).toInt(), 1064);
}

void TestControls::editIgnoresNonDigits_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("letter a") << int(Qt::Key_A) << int(Qt::NoModifier);
    QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier);
    QTest::newRow("minus") << int(Qt::Key_Minus) << int(Qt::NoModifier);
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier);
    QTest::newRow("ctrl+c") << int(Qt::Key_C) << int(Qt::ControlModifier);
    QTest::newRow("ctrl+v") << int(Qt::Key_V) << int(Qt::ControlModifier);
    QTest::newRow("ctrl+x") << int(Qt::Key_X) << int(Qt::ControlModifier);
    QTest::newRow("ctrl+z") << int(Qt::Key_Z) << int(Qt::ControlModifier);
    QTest::newRow("ctrl+a") << int(Qt::Key_A) << int(Qt::ControlModifier);
    QTest::newRow("shift+insert") << int(Qt::Key_Insert) << int(Qt::ShiftModifier);
    QTest::newRow("shift+delete") << int(Qt::Key_Delete) << int(Qt::ShiftModifier);
    QTest::newRow("ctrl+insert") << int(Qt::Key_Insert) << int(Qt::ControlModifier);
    QTest::newRow("ctrl+1") << int(Qt::Key_1) << int(Qt::ControlModifier);
}

void TestControls::editIgnoresNonDigits()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    EditFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QApplication::clipboard()->setText(u"1999"_s);
    f.edit->SetDate(2009, 7, 1);
    f.edit->SelectField(2);
    QTRY_VERIFY(f.edit->hasFocus());
    QTest::keyClick(f.edit, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.edit->text(), u"2009-07-01"_s);
    QCOMPARE(f.edit->GetDate(), (qov::SolarDate{2009, 7, 1}));
    QCOMPARE(f.edit->selectedText(), u"07"_s);
    QCOMPARE(QApplication::clipboard()->text(), u"1999"_s);
    // The month entry is still waiting for its first digit.
    QTest::keyClick(f.edit, '8');
    QCOMPARE(f.edit->text(), u"2009-08-01"_s);
}

void TestControls::editDeleteKeepsStoredDate()
{
    EditFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.edit->SetDate(2009, 7, 1);
    f.edit->SelectField(1);
    QTRY_VERIFY(f.edit->hasFocus());
    QTest::keyClick(f.edit, Qt::Key_Delete);
    QCOMPARE(f.edit->text(), u"-07-01"_s);
    QCOMPARE(f.edit->GetDate(), (qov::SolarDate{2009, 7, 1}));
    QTest::keyClick(f.edit, '1');
    QCOMPARE(f.edit->text(), u"1000-07-01"_s);
    f.edit->SelectField(3);
    QTest::keyClick(f.edit, Qt::Key_Delete);
    f.other->setFocus();
    QTRY_COMPARE(f.edit->text(), u"1000-07-01"_s);  // focus loss shows the whole date again
}

void TestControls::editInputMethodCommitTypesDigitsOnly()
{
    // Input methods are switched off for the field; should a commit arrive
    // anyway, its digits are typed like keys and everything else dropped.
    EditFixture f;
    QVERIFY(!f.edit->testAttribute(Qt::WA_InputMethodEnabled));
    f.edit->SetDate(2009, 7, 1);
    f.edit->SelectField(1);
    QInputMethodEvent commit(u"预"_s, {});
    commit.setCommitString(u"19a９9"_s);
    QApplication::sendEvent(f.edit, &commit);
    QCOMPARE(f.edit->text(), u"1990-07-01"_s);
    QCOMPARE(f.edit->entry().DigitsLeft(), 1);
}

void TestControls::editNoContextMenuNoMouseSelection()
{
    EditFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.edit->SetDate(2009, 7, 1);
    QTest::mouseClick(f.edit, Qt::RightButton, {}, QPoint(10, f.edit->height() / 2));
    QTest::qWait(20);
    QVERIFY(!QApplication::activePopupWidget());
    QTest::mouseDClick(f.edit, Qt::LeftButton, {}, QPoint(f.edit->width() - 4, f.edit->height() / 2));
    QCOMPARE(f.edit->selectedText(), QString());
    QCOMPARE(f.edit->text(), u"2009-07-01"_s);
    // A drag does not select.
    QTest::mousePress(f.edit, Qt::LeftButton, {}, QPoint(f.edit->width() - 4, f.edit->height() / 2));
    QMouseEvent drag(QEvent::MouseMove, QPointF(2, 5), f.edit->mapToGlobal(QPointF(2, 5)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.edit, &drag);
    QTest::mouseRelease(f.edit, Qt::LeftButton, {}, QPoint(2, 5));
    QCOMPARE(f.edit->selectedText(), QString());
}

void TestControls::editClickPicksField_data()
{
    // Clicks in the middle of a character: the first digit of each field
    // picks it; separators and the space behind the day pick nothing.
    QTest::addColumn<int>("character");  // 0..9, or 10 for behind the text
    QTest::addColumn<int>("field");      // 0: none
    QTest::newRow("year first digit") << 0 << 1;
    QTest::newRow("month first digit") << 5 << 2;
    QTest::newRow("day first digit") << 8 << 3;
    QTest::newRow("first separator") << 4 << 0;
    QTest::newRow("second separator") << 7 << 0;
    QTest::newRow("behind the day") << 10 << 0;
}

void TestControls::editClickPicksField()
{
    QFETCH(int, character);
    QFETCH(int, field);
    EditFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.edit->resize(160, f.edit->height());
    f.edit->SetDate(2009, 7, 1);
    const QPoint click =
        character < 10 ? InsideCharacter(f.edit, character) : InsideCharacter(f.edit, 9) + QPoint(24, 0);

    // Start with the day half typed, so "no field" keeps that progress.
    f.edit->SelectField(3);
    QTest::keyClick(f.edit, '1');
    f.other->setFocus();
    QTRY_VERIFY(f.other->hasFocus());

    QTest::mouseClick(f.edit, Qt::LeftButton, {}, click);
    QTRY_VERIFY(f.edit->hasFocus());  // a click focuses, in a zone or not
    if (field == 0) {
        QCOMPARE(f.edit->entry().ActiveField(), 3);
        QCOMPARE(f.edit->entry().DigitsLeft(), 1);
        QCOMPARE(f.edit->selectedText(), QString());
    } else {
        QCOMPARE(f.edit->entry().ActiveField(), field);
        const qov::TextRange range = f.edit->entry().Selection();
        QCOMPARE(f.edit->selectionStart(), range.start);
        QCOMPARE(f.edit->selectedText(), f.edit->text().mid(range.start, range.end - range.start));
        QCOMPARE(f.edit->entry().DigitsLeft(), field == 1 ? 4 : 2);
    }
}

void TestControls::editFocusLossNormalises()
{
    EditFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.edit->SetDate(2009, 1, 31);
    f.edit->SelectField(2);
    QTRY_VERIFY(f.edit->hasFocus());
    QTest::keyClick(f.edit, '2');
    QCOMPARE(f.edit->text(), u"2009-02-31"_s);
    f.other->setFocus();
    QTRY_VERIFY(f.other->hasFocus());
    QCOMPARE(f.edit->text(), u"2009-02-28"_s);
    QCOMPARE(f.edit->GetDate(), (qov::SolarDate{2009, 2, 28}));

    // A half-typed year is shown in range at once and continues at its tens
    // digit when the field is reached with the keyboard again.
    f.edit->SelectField(1);
    QTRY_VERIFY(f.edit->hasFocus());
    QTest::keyClicks(f.edit, u"20"_s);
    f.other->setFocus();
    QTRY_VERIFY(f.other->hasFocus());
    QCOMPARE(f.edit->text(), u"2000-02-28"_s);
    QTest::keyClick(f.other, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(f.edit->hasFocus());
    QCOMPARE(f.edit->selectedText(), u"2000"_s);
    QTest::keyClicks(f.edit, u"17"_s);
    QCOMPARE(f.edit->text(), u"2017-02-28"_s);
}

void TestControls::editKeyboardFocusStartsAtYear()
{
    EditFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    f.edit->SetDate(2009, 7, 1);
    f.other->setFocus();
    QTRY_VERIFY(f.other->hasFocus());
    QTest::keyClick(f.other, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(f.edit->hasFocus());
    QCOMPARE(f.edit->selectedText(), u"2009"_s);
    QTest::keyClicks(f.edit, u"2010"_s);
    QCOMPARE(f.edit->text(), u"2010-07-01"_s);
    QCOMPARE(f.edit->selectedText(), u"07"_s);
}

void TestControls::editCompletionIsSynchronous()
{
    // The receiver moves the focus on inside the signal, as the main window
    // does; the field is normalised before the key press returns.
    EditFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QStringList seen;
    QObject::connect(f.edit, &CQovEdit::entryComplete, f.other, [&](int id) {
        seen << f.edit->text() << QString::number(id);
        f.other->setFocus();
    });
    f.edit->SetDate(2009, 1, 1);
    f.edit->SelectField(1);
    QTRY_VERIFY(f.edit->hasFocus());
    QTest::keyClicks(f.edit, u"200802"_s);
    QVERIFY(seen.isEmpty());
    QTest::keyClick(f.edit, '3');
    QVERIFY(seen.isEmpty());
    QTest::keyClick(f.edit, '5');  // 35 -> 29 in a leap February
    QCOMPARE(seen, (QStringList{u"2008-02-29"_s, u"1063"_s}));
    QVERIFY(f.other->hasFocus());
    QCOMPARE(f.edit->text(), u"2008-02-29"_s);
    QCOMPARE(f.edit->GetDate(), (qov::SolarDate{2008, 2, 29}));
}

void TestControls::editEnterAndEscapeGoToParent()
{
    class KeyParent : public QWidget {
    public:
        QList<int> keys;

    protected:
        void keyPressEvent(QKeyEvent* event) override { keys << event->key(); }
    };
    KeyParent parent;
    auto* edit = new CQovEdit(1063, &parent);
    parent.show();
    parent.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&parent));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(parent.keys, (QList<int>{Qt::Key_Return, Qt::Key_Escape}));
}

// ---- clock and zone label ------------------------------------------------

void TestControls::clockText_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    QTest::newRow("midnight") << QTime(0, 0, 0) << u"0:00:00"_s;
    QTest::newRow("morning") << QTime(9, 5, 7) << u"9:05:07"_s;
    QTest::newRow("before ten") << QTime(9, 59, 59) << u"9:59:59"_s;
    QTest::newRow("ten") << QTime(10, 0, 0) << u"10:00:00"_s;
    QTest::newRow("last second") << QTime(23, 59, 59) << u"23:59:59"_s;
}

void TestControls::clockText()
{
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(ClockText(time), text);
}

void TestControls::clockBlankForFirstSecond()
{
    CQovDate clock;
    clock.show();
    const auto timers = clock.findChildren<QTimer*>();
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers.front()->interval(), 1000);
    QVERIFY(timers.front()->isActive());
    QVERIFY(clock.text().isEmpty());
    QTest::qWait(600);
    QVERIFY(clock.text().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!clock.text().isEmpty(), 2000);
    const QString shown = clock.text();
    QVERIFY2(QRegularExpression(u"^([0-9]|1[0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$"_s).match(shown).hasMatch(),
             qPrintable(shown));
    // Local time of day, within the tick's slack.
    const QTime now = QTime::currentTime();
    const QTime parsed = QTime::fromString(shown, u"H:mm:ss"_s);
    QVERIFY(parsed.isValid());
    QVERIFY(qAbs(parsed.secsTo(now)) <= 2 || qAbs(parsed.secsTo(now)) >= 86400 - 2);
}

void TestControls::zoneNames_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QString>("name");
    QTest::newRow("Shanghai") << QByteArray("Asia/Shanghai") << u"中国标准时间"_s;
    QTest::newRow("Tokyo") << QByteArray("Asia/Tokyo") << u"日本标准时间"_s;
    // Standard-time names also for zones that keep summer time.
    QTest::newRow("New York") << QByteArray("America/New_York") << u"北美东部标准时间"_s;
    QTest::newRow("Berlin") << QByteArray("Europe/Berlin") << u"中欧标准时间"_s;
    QTest::newRow("invalid") << QByteArray("Nowhere/Atlantis") << QString();
}

void TestControls::zoneNames()
{
    QFETCH(QByteArray, id);
    QFETCH(QString, name);
    QCOMPARE(ZoneStandardName(QTimeZone(id)), name);
}

void TestControls::zoneLabelShanghai()
{
    // TZ is set to Asia/Shanghai before the application starts (see main).
    CTimeZone label;
    QCOMPARE(label.text(), u"当前：中国标准时间"_s);
    const auto timers = label.findChildren<QTimer*>();
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers.front()->interval(), 60000);
    QVERIFY(timers.front()->isActive());

    // A change of the computer's zone shows at the next refresh.
    qputenv("TZ", "Asia/Tokyo");
    tzset();
    label.Refresh();
    QCOMPARE(label.text(), u"当前：日本标准时间"_s);
    qputenv("TZ", "Asia/Shanghai");
    tzset();
    label.Refresh();
    QCOMPARE(label.text(), u"当前：中国标准时间"_s);
}

int main(int argc, char** argv)
{
    // The zone label test expects China Standard Time as the local zone.
    qputenv("TZ", "Asia/Shanghai");
    tzset();
    QApplication app(argc, argv);
    TestControls test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_controls.moc"
