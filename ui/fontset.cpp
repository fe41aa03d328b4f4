#include "fontset.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringList>
#include <cmath>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Scales the em size so that ascent + descent comes to `cellHeight` pixels.
// No kerning, as with the Windows text functions: digit pairs such as "11"
// keep their fixed advances.
QFont WithCellHeight(QFont font, int cellHeight)
{
    font.setKerning(false);
    font.setPixelSize(cellHeight);
    const qreal measured = QFontMetricsF(font).height();
    if (measured > 0) {
        const int em = static_cast<int>(std::lround(cellHeight * cellHeight / measured));
        font.setPixelSize(std::max(1, em));
    }
    return font;
}

// The face lists per platform, the faces installed there first: each
// family of a list that is not installed costs a search of the font
// configuration (about half a millisecond on Linux) before the next
// is tried. The Windows faces stay in every list for the machines that have
// them.
#if defined(Q_OS_WIN)
const QStringList SongFamilies = {u"SimSun"_s, u"AR PL UMing CN"_s, u"WenQuanYi Micro Hei"_s};
const QStringList ArialFamilies = {u"Arial"_s, u"Liberation Sans"_s};
const QStringList ArialBlackFamilies = {u"Arial Black"_s, u"Liberation Sans"_s};
#elif defined(Q_OS_MACOS)
const QStringList SongFamilies = {u"Songti SC"_s, u"STSong"_s, u"SimSun"_s};
const QStringList ArialFamilies = {u"Arial"_s, u"Liberation Sans"_s};
const QStringList ArialBlackFamilies = {u"Arial Black"_s, u"Liberation Sans"_s};
#else  // fontconfig: fonts-arphic-uming, fonts-wqy-microhei, fonts-liberation
const QStringList SongFamilies = {u"AR PL UMing CN"_s, u"WenQuanYi Micro Hei"_s, u"SimSun"_s};
const QStringList ArialFamilies = {u"Liberation Sans"_s, u"Arial"_s};
const QStringList ArialBlackFamilies = {u"Liberation Sans"_s, u"Arial Black"_s};
#endif

}  // namespace

bool CheckChineseFont()
{
    if (!QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty()) return true;
    static bool told = false;
    if (!told)
        std::fputs("qov: no font for Chinese text is installed, so Chinese characters show as "
                   "empty boxes. Install one: apt-get install fonts-arphic-uming "
                   "fonts-wqy-microhei\n",
            stderr);
    told = true;
    return false;
}

QFont SongFont(int cellHeight, qreal devicePixelRatio)
{
    QFont font;
    font.setFamilies(SongFamilies);
    font.setStyleHint(QFont::Serif);
    font = WithCellHeight(font, cellHeight);
    if (font.pixelSize() * devicePixelRatio <= SongBitmapMaxPixels)
        font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QFont ArialFont(int cellHeight, QFont::Weight weight)
{
    QFont font;
    font.setFamilies(ArialFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(weight);
    return WithCellHeight(font, cellHeight);
}

// Without Arial Black, Liberation Sans at its heaviest weight comes closest.
QFont ArialBlackFont(int cellHeight)
{
    QFont font;
    font.setFamilies(ArialBlackFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Black);
    return WithCellHeight(font, cellHeight);
}

FontSet FontSet::Create(qreal devicePixelRatio)
{
    CheckChineseFont();
    FontSet set;
    set.devicePixelRatio = devicePixelRatio;
    set.fontText12 = SongFont(12, devicePixelRatio);
    set.fontText13 = SongFont(13, devicePixelRatio);
    set.fontDay72 = ArialFont(72);
    set.fontMark150 = ArialBlackFont(150);
    set.fontMark150.setItalic(true);
    // Glyphs this large are filled as outlines on every paint (too big for
    // the glyph cache); without antialiasing that costs a fifth, and light
    // grey on white shows no stair steps.
    set.fontMark150.setStyleStrategy(QFont::NoAntialias);
    set.fontClock24 = ArialFont(24, QFont::Bold);
    set.fontCellDay35 = ArialBlackFont(35);
    // The Song strikes where they are drawn from bitmaps (100 %); larger, a
    // sans face, whose strokes stay solid white on the badge's colour where
    // the Song hairlines thin out to pink.
    set.fontBadge = SongFont(12, devicePixelRatio);
    if (!(set.fontBadge.styleStrategy() & QFont::NoAntialias)) {
        set.fontBadge.setFamilies({u"Microsoft YaHei"_s, u"WenQuanYi Micro Hei"_s});
        set.fontBadge.setStyleHint(QFont::SansSerif);
        set.fontBadge.setPixelSize(11);
    }
    return set;
}
