#include "holidayfile.h"

#include <QDir>

using namespace Qt::StringLiterals;

CHolidayFile::CHolidayFile(QObject* parent) : CHolidayFile(UserFilePath(), parent) { }

CHolidayFile::CHolidayFile(const QString& path, QObject* parent)
    : CWatchedFile(path, parent), m_table(qov::HolidayTable::Shipped())
{
    Reload();
}

QString CHolidayFile::UserFilePath() { return ConfigPath(u"holidays.tsv"_s); }

void CHolidayFile::Read()
{
    m_messages.clear();
    m_table = qov::HolidayTable::Shipped();
    QString problem;
    const std::optional<QByteArray> bytes =
        ReadAll(path(), static_cast<qint64>(qov::MaxHolidayFileBytes), problem);
    if (!problem.isEmpty()) {
        m_messages.append(QDir::toNativeSeparators(path()) + u": "_s + problem
            + u"; only the shipped holidays are used"_s);
    } else if (bytes) {
        const qov::HolidayParse parse = qov::ParseHolidayFile(
            std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
        for (const std::string& message : parse.messages)
            m_messages.append(
                QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
        m_table = qov::HolidayTable::Shipped().WithOverrides(parse.lines);
    }
    Report();
}
