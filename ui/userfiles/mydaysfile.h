// The user's own days, $XDG_CONFIG_HOME/qov/mydays.tsv: read at start-up and
// again whenever the file changes on disk; written only by the settings
// dialog, through Save.
#pragma once

#include "model/mydays.h"
#include "userfiles/watchedfile.h"

class CMyDaysFile : public CWatchedFile {
    Q_OBJECT

public:
    explicit CMyDaysFile(QObject* parent = nullptr);
    CMyDaysFile(const QString& path, QObject* parent);

    // $XDG_CONFIG_HOME/qov/mydays.tsv; %APPDATA%\qov\mydays.tsv on Windows.
    static QString UserFilePath();

    const qov::MyDayList& list() const noexcept { return m_list; }

    enum class SaveResult { Saved, ChangedOnDisk, Failed };
    // Writes `edited` atomically, unless the file's bytes are no longer
    // `readBytes` (it was changed since the caller read it): then nothing is
    // written. A missing file reads as "".
    static SaveResult Save(const QString& path, const QByteArray& readBytes,
        const qov::MyDaysFile& edited, QString& error);
    // The bytes of the file now, "" when missing; none with `problem` set
    // when it cannot be read.
    static std::optional<QByteArray> Current(const QString& path, QString& problem);

private:
    void Read() override;

    qov::MyDayList m_list;
};
