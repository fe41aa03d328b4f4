#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include "exportdlg.h"
#include "holidays/updatepolicy.h"
#include "model/monthpage.h"

using namespace Qt::StringLiterals;

namespace {

// Options that QGuiApplication and QApplication take out of argv themselves
// (their documentation lists them): known here, hidden from the help.
constexpr const char16_t* QtValueOptions[] = {u"platform", u"platformpluginpath", u"platformtheme",
    u"plugin", u"qwindowgeometry", u"qwindowicon", u"qwindowtitle", u"session", u"display",
    u"geometry", u"style", u"stylesheet", u"qmljsdebugger"};
constexpr const char16_t* QtFlagOptions[] = {
    u"reverse", u"widgetcount", u"nograb", u"dograb", u"sync"};

void AddHidden(QCommandLineParser& parser, const char16_t* name, const QString& valueName)
{
    QCommandLineOption option(QString::fromUtf16(name));
    option.setValueName(valueName);
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
}

QString IsoText(qov::SolarDate d) { return QDate(d.year, d.month, d.day).toString(Qt::ISODate); }

// A date written exactly as YYYY-MM-DD that exists and lies in the years the
// year box offers.
std::optional<qov::SolarDate> ReadDate(const QString& text)
{
    static const QRegularExpression pattern(u"^(\\d{4})-(\\d{2})-(\\d{2})$"_s);
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const int year = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    if (year < qov::FirstPageYear || year > qov::LastPageYear) return std::nullopt;
    if (day < 1 || day > qov::DaysInMonth(year, month)) return std::nullopt;
    return qov::SolarDate{year, month, day};
}

// The program ends without a window: `text` goes to standard output with
// status 0, else to standard error.
StartOptions Ended(int status, QString text)
{
    StartOptions options;
    options.exitStatus = status;
    options.text = std::move(text);
    return options;
}

StartOptions Refuse(const QString& message, bool chinese)
{
    const QString hint = chinese ? u"用 “qov --help” 查看用法。"_s : u"Try 'qov --help'."_s;
    return Ended(UsageErrorStatus, u"qov: "_s + message + u'\n' + hint + u'\n');
}

}  // namespace

bool PrefersChinese()
{
    const QStringList languages = QLocale::system().uiLanguages();
    return !languages.isEmpty() && QLocale(languages.first()).language() == QLocale::Chinese;
}

StartOptions ParseCommandLine(const QStringList& arguments, bool chinese)
{
    const qov::SolarDate first{qov::FirstPageYear, 1, 1};
    const qov::SolarDate last{qov::LastPageYear, 12, 31};

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(chinese
            ? u"万年历：公历月历，附农历、节气和节日。"_s
            : u"Perpetual calendar: Gregorian month pages with lunar dates, solar terms and "
              u"festivals."_s);
    // Qt's own help option would add --help-all, whose text (Qt's options
    // too) only its process() can print; the description is Qt's, so that
    // Qt's translation covers it.
    const QCommandLineOption help({u"h"_s, u"help"_s, u"?"_s},
        QCoreApplication::translate("QCommandLineParser", "Displays help on commandline options."));
    parser.addOption(help);
    const QCommandLineOption version({u"v"_s, u"version"_s},
        QCoreApplication::translate("QCommandLineParser", "Displays version information."));
    parser.addOption(version);
    const QCommandLineOption date(u"date"_s,
        (chinese ? u"启动时显示该日所在的月份并选中该日（%1 至 %2）。"_s
                 : u"Starts on the month of this date with the day selected (%1 to %2)."_s)
            .arg(IsoText(first), IsoText(last)),
        u"YYYY-MM-DD"_s);
    parser.addOption(date);
    const QCommandLineOption update(u"update-holidays"_s,
        chinese ? u"检查并下载新的节假日安排（holiday-cn），列出有变化的年份后退出。窗口运行时"
                  u"也会自动检查（至多每天一次）；在 qov.conf 的 [holidays] 中设 "
                  u"autoUpdate=false 可关闭。"_s
                : u"Checks for new public holiday schedules (holiday-cn), lists the years "
                  u"that changed and exits. The window also checks by itself, at most daily; "
                  u"autoUpdate=false in the [holidays] group of qov.conf turns that off."_s);
    parser.addOption(update);
    const QCommandLineOption source(u"holiday-source"_s,
        (chinese ? u"节假日安排的下载地址，{year} 代表年份；只接受 https（或到本机回环地址的 "
                   u"http）。默认：%1"_s
                 : u"Address of the holiday schedules, {year} standing for the year; https only "
                   u"(or http to a loopback address). Default: %1"_s)
            .arg(updatepolicy::DefaultSource),
        u"URL"_s);
    parser.addOption(source);
    const QCommandLineOption exportIcs(u"export-ics"_s,
        chinese
            ? u"把日历导出为 iCalendar 文件（“-” 为标准输出），不打开窗口。"_s
            : u"Writes the calendar as an iCalendar file (\"-\": standard output), no window."_s,
        u"FILE"_s);
    parser.addOption(exportIcs);
    const qov::YearRange years = DefaultExportYears();
    const QCommandLineOption yearRange(u"years"_s,
        (chinese ? u"导出的年份，%1 至 %2（默认 %3-%4）。"_s
                 : u"Years to export, %1 to %2 (default %3-%4)."_s)
            .arg(qov::FirstPageYear)
            .arg(qov::LastPageYear)
            .arg(years.first)
            .arg(years.last),
        u"YYYY[-YYYY]"_s);
    parser.addOption(yearRange);
    const QString allKinds = QString::fromStdString(qov::KindKeys(~qov::ItemKinds{}));
    const QString defaultKinds = QString::fromStdString(qov::KindKeys(qov::DefaultKinds()));
    const QCommandLineOption include(u"include"_s,
        (chinese ? u"导出的内容，以逗号分隔：%1（默认 %2）。"_s
                 : u"Kinds to export, comma-separated: %1 (default %2)."_s)
            .arg(QString(allKinds).replace(u',', u", "_s), defaultKinds),
        u"KINDS"_s);
    parser.addOption(include);
    const QCommandLineOption tray(u"tray"_s,
        chinese ? u"启动时只在系统托盘中显示图标，不打开窗口。"_s
                : u"Starts hidden, as an icon in the system tray."_s);
    parser.addOption(tray);
    for (const char16_t* name : QtValueOptions) AddHidden(parser, name, u"value"_s);
    for (const char16_t* name : QtFlagOptions) AddHidden(parser, name, QString());

    if (!parser.parse(arguments)) return Refuse(parser.errorText(), chinese);
    if (parser.isSet(help)) return Ended(0, parser.helpText());
    if (parser.isSet(version))
        return Ended(0,
            (chinese ? u"qov 万年历 %1\n"_s : u"qov Perpetual Calendar %1\n"_s)
                .arg(QStringLiteral(QOV_VERSION)));
    if (!parser.positionalArguments().isEmpty()) {
        const QString stray = parser.positionalArguments().first();
        return Refuse(
            chinese ? u"多余的参数 “%1”。"_s.arg(stray) : u"unexpected argument '%1'."_s.arg(stray),
            chinese);
    }

    StartOptions options;
    options.updateHolidays = parser.isSet(update);
    if (parser.isSet(source)) {
        options.holidaySource = parser.value(source);
        if (const QString problem = updatepolicy::SourceProblem(options.holidaySource);
            !problem.isEmpty())
            return Refuse(
                (chinese ? u"下载地址 “%1” 无效：%2。"_s : u"invalid holiday source '%1': %2."_s)
                    .arg(options.holidaySource, problem),
                chinese);
    }
    if (parser.isSet(exportIcs)) {
        options.exportPath = parser.value(exportIcs);
        options.exportRequest.years = years;
    } else if (parser.isSet(yearRange) || parser.isSet(include)) {
        return Refuse(chinese ? u"--years 和 --include 只用于 --export-ics。"_s
                              : u"--years and --include go with --export-ics."_s,
            chinese);
    }
    if (parser.isSet(yearRange)) {
        const QString text = parser.value(yearRange);
        const std::optional<qov::YearRange> range = qov::ParseYearRange(text.toStdString());
        if (!range)
            return Refuse(chinese
                    ? u"年份 “%1” 无效：请写成 YYYY 或 YYYY-YYYY，在 %2 至 %3 之间。"_s.arg(text)
                          .arg(qov::FirstPageYear)
                          .arg(qov::LastPageYear)
                    : u"invalid years '%1': expected YYYY or YYYY-YYYY from %2 to %3."_s.arg(text)
                          .arg(qov::FirstPageYear)
                          .arg(qov::LastPageYear),
                chinese);
        options.exportRequest.years = *range;
    }
    if (parser.isSet(include)) {
        const QString text = parser.value(include);
        const std::optional<qov::ItemKinds> kinds = qov::ParseKinds(text.toStdString());
        if (!kinds)
            return Refuse(chinese ? u"内容 “%1” 无效：可选 %2。"_s.arg(text, allKinds)
                                  : u"invalid kinds '%1': choose from %2."_s.arg(text, allKinds),
                chinese);
        options.exportRequest.kinds = *kinds;
    }
    options.tray = parser.isSet(tray);
    if (parser.isSet(date)) {
        const QString text = parser.value(date);
        options.date = ReadDate(text);
        if (!options.date)
            return Refuse(chinese ? u"日期 “%1” 无效：请写成 YYYY-MM-DD，在 %2 至 %3 之间。"_s.arg(
                              text, IsoText(first), IsoText(last))
                                  : u"invalid date '%1': expected YYYY-MM-DD from %2 to %3."_s.arg(
                                      text, IsoText(first), IsoText(last)),
                chinese);
    }
    return options;
}
