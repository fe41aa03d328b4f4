#include "settings/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "model/textfields.h"
#include "userfiles/watchedfile.h"

using namespace Qt::StringLiterals;

namespace {

using qov::textfields::Trim;

struct BoolKey {
    const char* group;
    const char* key;
    bool QovSettings::*member;
};

// Every true/false key of the file, in the order a new file lists them.
constexpr std::array<BoolKey, 9> BoolKeys = {{
    {"show", "terms", &QovSettings::terms},
    {"show", "lunarFestivals", &QovSettings::lunarFestivals},
    {"show", "gregorianFestivals", &QovSettings::gregorianFestivals},
    {"show", "internationalDays", &QovSettings::internationalDays},
    {"show", "westernFestivals", &QovSettings::westernFestivals},
    {"show", "holidayMarks", &QovSettings::holidayMarks},
    {"holidays", "autoUpdate", &QovSettings::autoUpdate},
    {"tray", "enabled", &QovSettings::trayEnabled},
    {"tray", "autostart", &QovSettings::trayAutostart},
}};

constexpr const char* WeekStartKey = "calendar/weekStart";

std::optional<bool> ParseBool(std::string_view text)
{
    const QString word =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed().toLower();
    if (word == u"true"_s) return true;
    if (word == u"false"_s) return false;
    return std::nullopt;
}

bool SameValue(std::string_view old, std::string_view wanted)
{
    const std::optional<bool> a = ParseBool(old);
    if (a) return a == ParseBool(wanted);
    return QString::fromUtf8(old.data(), static_cast<qsizetype>(old.size()))
               .trimmed()
               .compare(QString::fromUtf8(wanted.data(), static_cast<qsizetype>(wanted.size())),
                   Qt::CaseInsensitive)
        == 0;
}

struct Line {
    std::string text;
    std::string ending;
};

std::vector<Line> SplitLines(std::string_view text)
{
    std::vector<Line> lines;
    while (!text.empty()) {
        const qov::textfields::TextLine line = qov::textfields::NextLine(text);
        lines.push_back({std::string(line.text), std::string(line.ending)});
    }
    return lines;
}

// The section a "[name]" line opens, or none.
std::optional<std::string> SectionOf(std::string_view text)
{
    text = Trim(text);
    if (text.size() < 2 || text.front() != '[') return std::nullopt;
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(Trim(text.substr(1, close - 1)));
}

// Where the value of a "key = value ; comment" line lies: [begin, end).
struct ValueSpan {
    std::size_t begin;
    std::size_t end;
};

std::optional<std::pair<std::string, ValueSpan>> KeyLine(std::string_view text)
{
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#'
        || trimmed.front() == '[')
        return std::nullopt;
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    std::size_t begin = equals + 1;
    while (begin < text.size() && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    bool quoted = false;
    std::size_t end = begin;
    for (; end < text.size(); ++end) {
        if (text[end] == '"') quoted = !quoted;
        if (text[end] == ';' && !quoted) break;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return std::pair{std::string(Trim(text.substr(0, equals))), ValueSpan{begin, end}};
}

std::string WeekStartText(qov::WeekStart start)
{
    return start == qov::WeekStart::Monday ? "monday" : "sunday";
}

}  // namespace

qov::FestivalKinds QovSettings::Kinds() const noexcept
{
    using qov::FestivalKind;
    using qov::KindBit;
    return static_cast<qov::FestivalKinds>((terms ? KindBit(FestivalKind::Term) : 0)
        | (lunarFestivals ? KindBit(FestivalKind::Folk) : 0)
        | (gregorianFestivals ? KindBit(FestivalKind::China) : 0)
        | (internationalDays ? KindBit(FestivalKind::World) : 0)
        | (westernFestivals ? KindBit(FestivalKind::West) : 0));
}

namespace settings {

QString FilePath()
{
#ifdef Q_OS_WIN
    return CWatchedFile::ConfigPath(u"qov.ini"_s);
#else
    return CWatchedFile::ConfigPath(u"qov.conf"_s);
#endif
}

QovSettings Load(const QString& path, QString& message)
{
    message.clear();
    QovSettings values;
    QString problem;
    const std::optional<QByteArray> bytes = CWatchedFile::ReadAll(path, 1024 * 1024, problem);
    const QString where = QDir::toNativeSeparators(path) + u": "_s;
    if (!problem.isEmpty()) {
        message = where + problem + u"; the default settings are used"_s;
        return values;
    }
    if (!bytes) return values;  // no file yet: the defaults, quietly

    const QSettings file(path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        message = where + u"is not an INI file; the default settings are used"_s;
        return values;
    }
    QStringList bad;
    for (const BoolKey& k : BoolKeys) {
        const QString key = QString::fromLatin1(k.group) + u'/' + QString::fromLatin1(k.key);
        if (!file.contains(key)) continue;
        const QByteArray text = file.value(key).toString().toUtf8();
        if (const std::optional<bool> value = ParseBool(text.toStdString()))
            values.*k.member = *value;
        else
            bad.append(key + u" is not true or false"_s);
    }
    if (file.contains(QLatin1StringView(WeekStartKey))) {
        const QString text = file.value(QLatin1StringView(WeekStartKey)).toString().trimmed();
        if (text.compare(u"monday"_s, Qt::CaseInsensitive) == 0)
            values.weekStart = qov::WeekStart::Monday;
        else if (text.compare(u"sunday"_s, Qt::CaseInsensitive) != 0)
            bad.append(QLatin1StringView(WeekStartKey) + u" is not sunday or monday"_s);
    }
    if (!bad.isEmpty())
        message = where + bad.join(u", "_s) + u"; the default is used for "_s
            + (bad.size() == 1 ? u"it"_s : u"them"_s);
    return values;
}

QovSettings LoadAndReport(const QString& path)
{
    QString message;
    QovSettings values = Load(path, message);
    if (!message.isEmpty()) {
        std::fprintf(stderr, "%s\n", message.toUtf8().constData());
        std::fflush(stderr);
    }
    return values;
}

bool Save(const QString& path, const QovSettings& values, QString& error, const QovSettings* before)
{
    QString problem;
    const std::optional<QByteArray> old = CWatchedFile::ReadAll(path, 1024 * 1024, problem);
    if (!problem.isEmpty()) {
        // Never replace a file that could not be read: its lines would be lost.
        error = QDir::toNativeSeparators(path) + u": "_s + problem;
        return false;
    }
    std::vector<IniValue> wanted;
    if (before == nullptr || before->weekStart != values.weekStart)
        wanted.push_back({"calendar", "weekStart", WeekStartText(values.weekStart)});
    for (const BoolKey& k : BoolKeys)
        if (before == nullptr || before->*k.member != values.*k.member)
            wanted.push_back({k.group, k.key, values.*k.member ? "true" : "false"});
    const std::string oldText = old ? old->toStdString() : std::string();
    const std::string text = EditIni(oldText, wanted, SameValue);
    if (old && text == oldText) return true;

    return CWatchedFile::WriteAtomically(path, text, error);
}

std::string EditIni(std::string_view text, const std::vector<IniValue>& values,
    bool (*same)(std::string_view, std::string_view))
{
    std::vector<Line> lines = SplitLines(text);
    const std::string ending =
        !lines.empty() && lines.front().ending == "\r\n" ? std::string("\r\n") : std::string("\n");
    std::vector<bool> found(values.size(), false);
    // The index after the last non-blank line of each group's last section.
    std::vector<std::pair<std::string, std::size_t>> sectionEnds;
    std::string group;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string& line = lines[i].text;
        if (const std::optional<std::string> section = SectionOf(line)) {
            group = *section;
            sectionEnds.emplace_back(group, i + 1);
            continue;
        }
        if (!Trim(line).empty() && !sectionEnds.empty() && sectionEnds.back().first == group)
            sectionEnds.back().second = i + 1;
        const auto keyLine = KeyLine(line);
        if (!keyLine) continue;
        for (std::size_t v = 0; v < values.size(); ++v) {
            if (values[v].group != group || values[v].key != keyLine->first) continue;
            found[v] = true;
            const ValueSpan span = keyLine->second;
            if (!same(std::string_view(line).substr(span.begin, span.end - span.begin),
                    values[v].value))
                line.replace(span.begin, span.end - span.begin, values[v].value);
        }
    }
    // Missing keys: after their group's last section, from the end up so
    // that the places found above stay right.
    std::vector<std::pair<std::size_t, Line>> inserts;
    std::vector<Line> appended;
    std::string appendedGroup;
    for (std::size_t v = 0; v < values.size(); ++v) {
        if (found[v]) continue;
        const Line line{values[v].key + "=" + values[v].value, ending};
        const auto section = std::find_if(sectionEnds.rbegin(), sectionEnds.rend(),
            [&](const auto& s) { return s.first == values[v].group; });
        if (section != sectionEnds.rend()) {
            inserts.emplace_back(section->second, line);
            continue;
        }
        if (appendedGroup != values[v].group) {
            if (!appended.empty() || !lines.empty()) appended.push_back({"", ending});
            appended.push_back({"[" + values[v].group + "]", ending});
            appendedGroup = values[v].group;
        }
        appended.push_back(line);
    }
    std::stable_sort(inserts.begin(), inserts.end(),
        [](const auto& a, const auto& b) { return a.first > b.first; });
    // Keys for one place keep their order: insert the last first.
    for (std::size_t k = 0; k < inserts.size();) {
        std::size_t e = k;
        while (e < inserts.size() && inserts[e].first == inserts[k].first) ++e;
        std::vector<Line> block;
        for (std::size_t j = k; j < e; ++j) block.push_back(inserts[j].second);
        const std::size_t at = inserts[k].first;
        if (at > 0 && lines[at - 1].ending.empty()) lines[at - 1].ending = ending;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), block.begin(), block.end());
        k = e;
    }
    if (!appended.empty() && !lines.empty() && lines.back().ending.empty())
        lines.back().ending = ending;
    lines.insert(lines.end(), appended.begin(), appended.end());
    std::string result;
    for (const Line& line : lines) result += line.text + line.ending;
    return result;
}

}  // namespace settings
