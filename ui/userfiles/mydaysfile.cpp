#include "userfiles/mydaysfile.h"

#include <QDir>

using namespace Qt::StringLiterals;

CMyDaysFile::CMyDaysFile(QObject* parent) : CMyDaysFile(UserFilePath(), parent) { }

CMyDaysFile::CMyDaysFile(const QString& path, QObject* parent) : CWatchedFile(path, parent)
{
    Reload();
}

QString CMyDaysFile::UserFilePath() { return ConfigPath(u"mydays.tsv"_s); }

std::optional<QByteArray> CMyDaysFile::Current(const QString& path, QString& problem)
{
    const std::optional<QByteArray> bytes =
        ReadAll(path, static_cast<qint64>(qov::MaxMyDaysFileBytes), problem);
    if (!problem.isEmpty()) return std::nullopt;
    return bytes.value_or(QByteArray());
}

void CMyDaysFile::Read()
{
    m_messages.clear();
    m_list = qov::MyDayList();
    QString problem;
    const std::optional<QByteArray> bytes = Current(path(), problem);
    if (!bytes) {
        m_messages.append(
            QDir::toNativeSeparators(path()) + u": "_s + problem + u"; no own days are shown"_s);
    } else {
        const qov::MyDaysFile file(
            std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
        for (const std::string& message : file.Messages())
            m_messages.append(
                QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
        m_list = qov::MyDayList(file.Days());
    }
    Report();
}

CMyDaysFile::SaveResult CMyDaysFile::Save(
    const QString& path, const QByteArray& readBytes, const qov::MyDaysFile& edited, QString& error)
{
    const std::optional<QByteArray> now = Current(path, error);
    if (!now) return SaveResult::Failed;
    if (*now != readBytes) return SaveResult::ChangedOnDisk;
    return WriteAtomically(path, edited.Bytes(), error) ? SaveResult::Saved : SaveResult::Failed;
}
