// The yardstick for the calendar's start-up and repaint: the plainest Qt 6
// program drawing the same picture. A 680 x 505 dialog with 25 child widgets
// and one CJK font paints a skin (fills, two gradients, headings), a title
// strip, a two-line watermark, 42 day cells with a selection and an
// eight-line day panel into a back buffer, then copies the buffer to the
// window. Texts are fixed (July 2009), not computed. Not product code: it
// shares nothing with the calendar but Qt and the measuring header.
//
// Run with --probe-child (see probe.h), or without arguments to look at it.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstring>

#include "../probe.h"

using namespace Qt::StringLiterals;

namespace {

const QString Family = u"AR PL UMing CN"_s;

QFont Font(int pixels, int weight = QFont::Normal, bool italic = false)
{
    QFont font(Family);
    font.setPixelSize(pixels);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setItalic(italic);
    return font;
}

const QStringList LunarDays = {u"初一"_s, u"初二"_s, u"初三"_s, u"初四"_s, u"初五"_s, u"初六"_s,
    u"初七"_s, u"初八"_s, u"初九"_s, u"初十"_s, u"十一"_s, u"十二"_s, u"十三"_s, u"十四"_s,
    u"十五"_s, u"十六"_s, u"十七"_s, u"十八"_s, u"十九"_s, u"二十"_s, u"廿一"_s, u"廿二"_s,
    u"廿三"_s, u"廿四"_s, u"廿五"_s, u"廿六"_s, u"廿七"_s, u"廿八"_s, u"廿九"_s, u"三十"_s};

class SketchDialog : public QDialog {
public:
    explicit SketchDialog(bool probing)
        : m_small(Font(12)), m_panel(Font(13)), m_day(Font(31, QFont::Black)), m_big(Font(64)),
          m_mark(Font(134, QFont::Black, true)), m_probing(probing)
    {
        setFixedSize(680, 505);
        setFont(m_small);
        setAttribute(Qt::WA_OpaquePaintEvent);
        const auto combo = [this](QRect r, int first, int count) {
            auto* box = new QComboBox(this);
            box->setGeometry(r);
            for (int n = first; n < first + count; ++n) box->addItem(QString::number(n));
        };
        combo({45, 7, 50, 21}, 1900, 150);
        combo({118, 7, 38, 21}, 1, 12);
        combo({438, 431, 56, 21}, 1900, 150);
        combo({508, 431, 40, 21}, 1, 12);
        combo({562, 431, 39, 21}, 1, 31);
        const std::pair<QString, QRect> buttons[] = {{u"年↑"_s, {61, 362, 42, 21}},
            {u"年↓"_s, {112, 362, 42, 21}}, {u"月↑"_s, {187, 362, 42, 21}},
            {u"月↓"_s, {235, 362, 42, 21}}, {u"今天"_s, {315, 362, 42, 21}},
            {u"日期和时间设置"_s, {375, 362, 93, 21}}, {u"计算"_s, {257, 422, 42, 23}},
            {u"查询"_s, {628, 432, 39, 21}}, {u"退出"_s, {569, 473, 61, 23}}};
        for (const auto& [text, rect] : buttons) (new QPushButton(text, this))->setGeometry(rect);
        const std::pair<QString, QRect> labels[] = {{u"开始："_s, {23, 425, 39, 19}},
            {u"结束："_s, {138, 424, 39, 21}}, {u"相差"_s, {315, 425, 28, 23}},
            {u"天"_s, {389, 425, 16, 18}}, {u"年"_s, {494, 432, 14, 19}},
            {u"月"_s, {548, 432, 14, 19}}, {u"当前：中国标准时间"_s, {509, 310, 140, 26}}};
        for (const auto& [text, rect] : labels) (new QLabel(text, this))->setGeometry(rect);
        (new QLineEdit(u"2009-07-15"_s, this))->setGeometry(58, 422, 77, 21);
        (new QLineEdit(u"2009-07-15"_s, this))->setGeometry(172, 422, 75, 21);
        (new QRadioButton(u"公历"_s, this))->setGeometry(509, 399, 51, 21);
        (new QRadioButton(u"农历"_s, this))->setGeometry(579, 399, 53, 21);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        m_clock.Begin();
        const qreal ratio = devicePixelRatioF();
        if (m_buffer.size() != size() * ratio) {
            m_buffer = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
            m_buffer.setDevicePixelRatio(ratio);
        }
        {
            QPainter painter(&m_buffer);
            DrawSkin(painter);
            DrawTitle(painter);
            DrawGrid(painter);
            DrawPanel(painter);
        }
        QPainter(this).drawImage(QPoint(0, 0), m_buffer);
        if (m_clock.End() && m_probing) QTimer::singleShot(0, this, [this] { Probe(); });
    }

private:
    void Probe()
    {
        m_clock.RunRepaints(*this);
        m_clock.Report(-1);
        done(QDialog::Rejected);
    }

    static void Box(QPainter& p, QRect r)
    {
        p.fillRect(r, QColor(96, 188, 222));
        p.fillRect(r.adjusted(1, 1, -1, -1), Qt::white);
    }

    static void Band(QPainter& p, QRect r)
    {
        QLinearGradient gradient(0, r.top(), 0, r.bottom() + 1);
        gradient.setColorAt(0, QColor(78, 160, 222));
        gradient.setColorAt(1, QColor(22, 101, 176));
        p.fillRect(r, gradient);
    }

    void DrawSkin(QPainter& p) const
    {
        p.fillRect(rect(), QColor(232, 242, 250));
        Box(p, QRect(QPoint(4, 4), QPoint(493, 387)));
        Band(p, QRect(QPoint(5, 5), QPoint(492, 30)));
        p.fillRect(QRect(QPoint(5, 31), QPoint(492, 51)), QColor(222, 232, 242));
        p.setFont(m_small);
        const QString names = u"日一二三四五六"_s;
        for (int k = 0; k < 7; ++k) {
            p.setPen(k == 0 ? Qt::red : k == 6 ? Qt::darkGreen : QColor(1, 73, 145));
            p.drawText(QRect(5 + 70 * k, 32, 69, 19), Qt::AlignCenter, names.mid(k, 1));
        }
        p.fillRect(QRect(QPoint(5, 355), QPoint(492, 386)), QColor(241, 247, 252));
        Box(p, QRect(QPoint(502, 4), QPoint(675, 293)));
        Band(p, QRect(QPoint(503, 5), QPoint(674, 30)));
        Box(p, QRect(QPoint(502, 302), QPoint(675, 386)));
        Box(p, QRect(QPoint(4, 395), QPoint(414, 458)));
        Box(p, QRect(QPoint(423, 395), QPoint(675, 458)));
        p.setPen(QColor(1, 73, 145));
        p.drawText(QRect(12, 400, 80, 18), Qt::AlignLeft, u"时间计算"_s);
        p.drawText(QRect(431, 400, 80, 18), Qt::AlignLeft, u"快速查询"_s);
    }

    void DrawTitle(QPainter& p) const
    {
        p.setFont(m_small);
        p.setPen(Qt::white);
        p.drawText(QRect(8, 10, 36, 14), Qt::AlignCenter, u"公元"_s);
        p.drawText(QRect(96, 10, 20, 14), Qt::AlignCenter, u"年"_s);
        p.drawText(QRect(158, 10, 20, 14), Qt::AlignCenter, u"月"_s);
        p.drawText(QRect(200, 10, 280, 14), Qt::AlignCenter, u"己丑年 【牛年】 农历闰五月小"_s);
    }

    void DrawGrid(QPainter& p) const
    {
        p.setFont(m_mark);
        p.setPen(QColor(234, 234, 234));
        p.drawText(QRect(5, 52, 488, 150), Qt::AlignCenter, u"2009"_s);
        p.drawText(QRect(5, 202, 488, 150), Qt::AlignCenter, u"07"_s);
        for (int i = 0; i < 42; ++i) {
            const QRect cell(5 + 70 * (i % 7), 52 + 50 * (i / 7), 70, 50);
            const int day = i < 3 ? 28 + i : i < 34 ? i - 2 : i - 33;
            if (i == 17) {
                p.save();
                p.setRenderHint(QPainter::Antialiasing);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(255, 232, 160));
                p.drawRoundedRect(QRectF(cell), 5, 5);
                p.restore();
            }
            const bool inMonth = i >= 3 && i < 34;
            p.setFont(m_day);
            p.setPen(!inMonth ? Qt::gray : i % 7 == 0 ? Qt::red : Qt::black);
            p.drawText(
                cell.adjusted(0, 4, 0, -16), Qt::AlignHCenter | Qt::AlignTop, QString::number(day));
            p.setFont(m_small);
            p.setPen(inMonth ? QColor(0, 0, 128) : Qt::gray);
            p.drawText(cell.adjusted(0, 34, 0, 0), Qt::AlignHCenter | Qt::AlignTop,
                LunarDays[(i + 5) % 30]);
        }
    }

    void DrawPanel(QPainter& p) const
    {
        const QString lines[] = {u"2009 年 7 月 15 日"_s, u"星期三"_s, u"15"_s,
            u"农历 闰五月 廿三"_s, u"己丑年 辛未月 壬午日"_s, u"【牛年】"_s, u"第 29 周"_s,
            u"距小暑 8 天"_s};
        int y = 10;
        for (int i = 0; i < 8; ++i) {
            p.setFont(i == 2 ? m_big : m_panel);
            p.setPen(i == 2 ? QColor(233, 2, 6) : i == 0 ? Qt::white : Qt::black);
            const int height = i == 2 ? 80 : 24;
            p.drawText(QRect(503, y, 172, height), Qt::AlignHCenter | Qt::AlignTop, lines[i]);
            y += height + 6;
        }
    }

    QFont m_small, m_panel, m_day, m_big, m_mark;
    bool m_probing;
    QImage m_buffer;
    probe::PaintClock m_clock;
};

}  // namespace

int main(int argc, char** argv)
{
    const bool probing = argc > 1 && std::strcmp(argv[1], probe::ChildFlag) == 0;
    QApplication app(argc, argv);
    SketchDialog dialog(probing);
    dialog.setWindowTitle(u"sketch"_s);
    dialog.exec();
    return 0;
}
