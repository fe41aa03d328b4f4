#include "controls/tipwindow.h"

#include <QByteArrayView>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStringDecoder>

#include "fontset.h"

using namespace Qt::StringLiterals;

namespace {

constexpr QColor TipBackground{50, 50, 132};
// Lines 1..4: date and weekday white, lunar date pink, gan-zhi yellow.
constexpr QColor LineColors[4] = {
    {255, 255, 255}, {255, 255, 255}, {255, 153, 255}, {255, 255, 51}};
constexpr QColor NoteBackground{204, 255, 204};
constexpr QColor NoteText{0, 0, 51};

// The whole popup, text included, is drawn 229/255 opaque.
constexpr qreal TipOpacity = 229.0 / 255.0;

// Shaped like line 4 (the gan-zhi line) with one more leading space; its
// width fixes the tip's width whatever the texts are.
const QString SampleLine = u" 甲子年 甲子月 甲子日"_s;

// Layout in pixels: the lines start 2 px from the top and run from x = 2 to
// width - 2; the tip is 4 px wider than the sample line, and 8 px taller
// than lines and note (2 above, 3 between, the box's 2, 1 below).
constexpr int Margin = 2;
constexpr int ExtraWidth = 4;
constexpr int ExtraHeight = 8;
constexpr int NoteGap = 5;      // box top below the four lines
constexpr int CursorGap = 20;   // tip top below the pointer
constexpr int MaxExtent = 300;  // larger tips stay hidden

QString Decode(QStringDecoder& gbk, const std::string& bytes)
{
    return gbk.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

}  // namespace

CTipWindow::CTipWindow(QWidget* owner)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_owner(owner), m_fontRatio(owner->devicePixelRatioF()), m_font(TipFont(m_fontRatio)),
      m_metrics(m_font), m_fixedSampleWidth(m_metrics.horizontalAdvance(SampleLine)),
      m_gbk("GBK", QStringConverter::Flag::Stateless)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);  // paintEvent fills every pixel
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);  // moves without a button pressed go to the owner too
    setCursor(Qt::ArrowCursor);
    setWindowOpacity(TipOpacity);
    setFont(m_font);
    setGeometry(0, 0, 1, 1);
}

QFont CTipWindow::TipFont(qreal devicePixelRatio) { return SongFont(13, devicePixelRatio); }

void CTipWindow::SetText(const std::string& line1, const std::string& line2,
    const std::string& line3, const std::string& line4, const std::string& note,
    const std::string& holiday)
{
    const std::array<const std::string*, 6> texts{&line1, &line2, &line3, &line4, &note, &holiday};
    bool same = m_hasText;
    for (std::size_t i = 0; same && i < texts.size(); ++i) same = *texts[i] == m_lastTexts[i];
    if (same) return;
    for (std::size_t i = 0; i < texts.size(); ++i) m_lastTexts[i] = *texts[i];

    m_lines[0] = Decode(m_gbk, line1);
    m_lines[1] = Decode(m_gbk, line2);
    m_lines[2] = Decode(m_gbk, line3);
    m_lines[3] = Decode(m_gbk, line4);
    m_note = Decode(m_gbk, note);
    if (!holiday.empty()) {
        const QString first =
            QString::fromUtf8(holiday.data(), static_cast<qsizetype>(holiday.size()));
        m_note = m_note.isEmpty() ? first : first + u' ' + m_note;
    }

    const int lineHeightPx = m_metrics.height();
    m_sampleWidth = m_fixedSampleWidth;
    m_textHeight = 4 * lineHeightPx;
    // The note as one unbroken line: one row of room per whole sample width
    // it covers, plus one (a note exactly as wide as the sample gets two).
    const int noteLength = m_note.isEmpty() ? 0 : m_metrics.horizontalAdvance(m_note);
    if (noteLength == 0 || m_sampleWidth == 0) {
        m_noteWidth = 0;
        m_noteHeight = 0;
    } else {
        m_noteWidth = m_sampleWidth;
        m_noteHeight = (noteLength / m_sampleWidth + 1) * lineHeightPx;
    }
    m_hasText = true;

    if (line1 != m_lastLine1) {
        m_lastLine1 = line1;
        ++m_repaintRequests;
        update();
        // What a screen reader reads of the day under the pointer.
        setAccessibleName(m_lines[0]);
        QStringList all(m_lines.begin(), m_lines.end());
        all.append(m_note.trimmed());
        all.removeAll(QString());
        setAccessibleDescription(all.join(u' '));
    }
}

void CTipWindow::Show(QPoint pos, bool show)
{
    if (!show || !m_hasText) {
        hide();
        return;
    }
    const int width = m_sampleWidth + ExtraWidth;
    const int height = m_textHeight + m_noteHeight + ExtraHeight;
    const int left = pos.x() - m_sampleWidth / 2;
    const int top = pos.y() + CursorGap;
    if (width > MaxExtent || height > MaxExtent) {
        hide();
        return;
    }
    // Only the top-right corner has to lie on the owner's window (right and
    // bottom edges excluded); the tip may hang below or left of it.
    if (!m_owner->window()->frameGeometry().contains(QPoint(left + width, top))) {
        hide();
        return;
    }
    setGeometry(left, top, width, height);
    if (!isVisible()) QWidget::show();
}

void CTipWindow::paintEvent(QPaintEvent*)
{
    ++m_paintCount;
    if (devicePixelRatioF() != m_fontRatio) {  // shown on another screen than before
        m_fontRatio = devicePixelRatioF();
        m_font = TipFont(m_fontRatio);
    }
    QPainter painter(this);
    painter.setFont(m_font);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), TipBackground);

    const int lh = lineHeight();
    for (int i = 0; i < 4; ++i) {
        const QRect box(
            QPoint(Margin, Margin + i * lh), QPoint(w - Margin - 1, Margin + (i + 1) * lh - 1));
        painter.setPen(LineColors[i]);
        painter.drawText(box, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
            m_lines[static_cast<std::size_t>(i)]);
    }

    if (m_noteWidth != 0 && m_noteHeight != 0) {
        // Box from (1, textHeight + 5) to (w - 1, h - 1), exclusive; the
        // text 2 px further in on the left, 1 px below the box's top.
        painter.fillRect(
            QRect(QPoint(1, m_textHeight + NoteGap), QPoint(w - 2, h - 2)), NoteBackground);
        const QRect noteBox(QPoint(3, m_textHeight + NoteGap + 1), QPoint(w - 2, h - 3));
        const int flags = m_noteHeight > lh ? (Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap)
                                            : (Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine);
        painter.setPen(NoteText);
        painter.drawText(noteBox, flags, m_note);
    }
}

void CTipWindow::mouseMoveEvent(QMouseEvent* event)
{
    // Posted, not sent: the owner may move or hide this tip while handling it.
    const QPointF global = event->globalPosition();
    const QPointF local = m_owner->mapFromGlobal(global);
    QCoreApplication::postEvent(m_owner,
        new QMouseEvent(
            QEvent::MouseMove, local, global, Qt::NoButton, Qt::NoButton, Qt::NoModifier));
    event->accept();
}
