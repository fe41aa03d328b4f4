// Helpers shared by the Qt Test programs: dates and cells as the tests name
// them, pixel counts in logical rectangles, and main() for the programs
// that read the local zone.
#pragma once
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <ctime>
#include <memory>
#include <tuple>

#include "calendardlg.h"
#include "controls/tipwindow.h"

#include "model/geometry.h"
#include "model/monthpage.h"
#include "painters.h"

namespace uitest {

// The columns of a data function in one call, types and names in step:
// Columns<QString, int>("start", "field").
template <typename... T, typename... Name> void Columns(Name... names)
{
    (QTest::addColumn<T>(names), ...);
}

// The current row's values of those columns, as QFETCH reads them:
// const auto [start, field] = Fetch<QString, int>("start", "field").
template <typename... T, typename... Name> std::tuple<T...> Fetch(Name... names)
{
    return {*static_cast<T*>(QTest::qData(names, qMetaTypeId<T>()))...};
}

inline QString DateText(qov::SolarDate d)
{
    return QDate(d.year, d.month, d.day).toString(Qt::ISODate);
}

// The page of an ISO date ("2009-07-15"), that day selected.
inline qov::MonthPage PageOf(const QString& iso)
{
    const QDate d = QDate::fromString(iso, Qt::ISODate);
    return qov::MonthPage(d.year(), d.month(), d.day());
}

inline QPoint CellCentre(int row, int column)
{
    const qov::Rect r = qov::CellRect(row, column);
    return {r.left + r.Width() / 2, r.top + r.Height() / 2};
}

inline QRgb Rgb(qov::Rgb c) { return qRgb(c.r, c.g, c.b); }

// Pixels inside the logical rectangle `r` of the picture for which `is` holds.
template <typename Is> int CountPixels(const QImage& picture, const QRect& r, Is is)
{
    const int ratio = qRound(picture.devicePixelRatio());
    int count = 0;
    for (int y = r.top() * ratio; y < (r.bottom() + 1) * ratio; ++y)
        for (int x = r.left() * ratio; x < (r.right() + 1) * ratio; ++x)
            count += is(picture.pixel(x, y)) ? 1 : 0;
    return count;
}

// Pixels of exactly `colour` inside the logical rectangle `r`.
inline int CountColour(const QImage& picture, const qov::Rect& r, QRgb colour)
{
    return CountPixels(picture, ToQRect(r), [colour](QRgb p) { return p == colour; });
}

// ctest names a per-program runtime directory; it must exist, owner-only.
inline bool MakeRuntimeDir()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) return true;
    return QDir().mkpath(runtime)
        && QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A widget painted into an image at a device pixel ratio.
inline QImage Picture(QWidget* widget, qreal ratio = 1.0)
{
    QImage image(widget->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    widget->render(&image);
    return image;
}

// A file's bytes; "<none>" when it cannot be read.
inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

// Writes `bytes` to `path`, making its folder.
inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A test of the main window, opened afresh for each test function by its init().
class DialogTest : public QObject {
protected:
    std::unique_ptr<CCalendarDlg> m_dlg;

    template <typename T = QWidget> T* Child(const QString& n) const
    {
        return m_dlg->findChild<T*>(n);
    }
    CTipWindow* Tip() const { return m_dlg->tipWindow(); }
    void Select(const QString& iso) { m_dlg->SelectDate(PageOf(iso)); }
    // Chooses the item of the list `box` that reads `item`.
    void Choose(const QString& box, const QString& item)
    {
        const int index = Child<QComboBox>(box)->findText(item);
        QVERIFY2(index >= 0, qPrintable(box + QStringLiteral(" has no item ") + item));
        Child<QComboBox>(box)->setCurrentIndex(index);
    }
    // The selected date, and the year (none outside 1900..2100) and month boxes showing its page.
    void CheckPage(const QString& expected)
    {
        const qov::SolarDate d = m_dlg->selectedDate();
        QCOMPARE(DateText(d), expected);
        QCOMPARE(Child<QComboBox>(QStringLiteral("yearBox"))->currentIndex(),
            d.year >= 1900 && d.year <= 2100 ? d.year - 1900 : -1);
        QCOMPARE(
            Child<QComboBox>(QStringLiteral("monthBox"))->currentText(), QString::number(d.month));
    }
    // The window at 40,30, shown and active.
    void Open()
    {
        m_dlg = std::make_unique<CCalendarDlg>();
        m_dlg->move(40, 30);
        m_dlg->show();
        m_dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
    }
};

}  // namespace uitest

// main() for a program whose expected texts name China Standard Time, with
// configuration and data folders of its own: no user holiday file, no
// downloads, the shipped schedule alone.
#define QOV_UI_TEST_MAIN(TestClass)                                                                \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        qputenv("TZ", "Asia/Shanghai");                                                            \
        tzset();                                                                                   \
        const QTemporaryDir config;                                                                \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));                              \
        const QTemporaryDir data;                                                                  \
        qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));                                  \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
