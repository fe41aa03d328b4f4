#include "trayleaf.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QStringDecoder>
#include <cmath>

#include "model/colors.h"
#include "model/daytexts.h"

namespace {

// Sizes a panel asks for: XEmbed trays 16..24, StatusNotifierItem hosts and
// HiDPI panels up to 64.
constexpr int LeafSizes[] = {16, 20, 22, 24, 32, 40, 48, 64};

constexpr QRgb Paper = qRgb(255, 255, 255);
constexpr QRgb Edge = qRgb(128, 128, 128);
constexpr QRgb Ink = qRgb(34, 34, 34);

}  // namespace

QRgb LeafBandColour()
{
    constexpr qov::Rgb red = qov::colors::Red;
    return qRgb(red.r, red.g, red.b);
}

QImage DrawLeaf(int day, int pixels)
{
    QImage leaf(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    leaf.fill(Qt::transparent);
    QPainter painter(&leaf);
    // Every edge on a whole pixel: no smoothing of the paper and the band.
    const int margin = pixels / 16;             // 1 px at 16, 4 px at 64
    const int edge = std::max(1, pixels / 32);  // the frame's width
    const QRect paper(margin, margin, pixels - 2 * margin, pixels - 2 * margin);
    const int band = (paper.height() * 3 + 5) / 10;  // the top 30 %
    painter.fillRect(paper, QColor(Edge));
    painter.fillRect(paper.adjusted(edge, edge, -edge, -edge), QColor(Paper));
    painter.fillRect(
        QRect(paper.left(), paper.top(), paper.width(), band), QColor(LeafBandColour()));
    if (pixels >= 32) {
        // Two binding rings on the band, as on a desk calendar.
        const int ring = std::max(2, pixels / 16);
        const int y = paper.top() + (band - ring) / 2;
        painter.fillRect(
            QRect(paper.left() + paper.width() / 4 - ring / 2, y, ring, ring), QColor(Paper));
        painter.fillRect(
            QRect(paper.left() + paper.width() * 3 / 4 - ring / 2, y, ring, ring), QColor(Paper));
    }

    // The number fills the paper below the band, hinted to the pixel grid.
    const QRect below(paper.left() + edge, paper.top() + band, paper.width() - 2 * edge,
        paper.bottom() - edge - (paper.top() + band) + 1);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setPixelSize(std::max(6, static_cast<int>(std::lround(below.height() * 0.95))));
    const QString text = QString::number(day);
    // Two digits narrower than the paper: a smaller size or a squeeze.
    for (QFontMetrics metrics(font); metrics.tightBoundingRect(text).width() > below.width();
         metrics = QFontMetrics(font)) {
        if (font.pixelSize() <= 6) break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    painter.setFont(font);
    painter.setPen(QColor(Ink));
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRect ink = QFontMetrics(font).tightBoundingRect(text);
    // Centre the ink itself, not the line box: digits have no descent.
    const int x = below.left() + (below.width() - ink.width()) / 2 - ink.left();
    const int y = below.top() + (below.height() - ink.height()) / 2 - ink.top();
    painter.drawText(x, y, text);
    return leaf;
}

QIcon LeafIcon(int day)
{
    QIcon icon;
    for (const int size : LeafSizes) {
        icon.addPixmap(QPixmap::fromImage(DrawLeaf(day, size)));
        QPixmap sharp = QPixmap::fromImage(DrawLeaf(day, 2 * size));
        sharp.setDevicePixelRatio(2.0);
        icon.addPixmap(sharp);
    }
    return icon;
}

QString TrayToolTip(const qov::SolarDate& date, const qov::DayOptions& options)
{
    const qov::TrayTip tip = qov::TrayTipTexts(date, options);
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    QStringList lines;
    for (const std::string& line : tip.lines)
        lines.append(gbk.decode(QByteArrayView(line.data(), static_cast<qsizetype>(line.size()))));
    if (!tip.holiday.empty()) lines.append(QString::fromStdString(tip.holiday));
    return lines.join(u'\n');
}
