// The user's holiday file: read at start-up and again whenever it changes on
// disk, applied over the shipped schedule. The program never writes it.
#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include "model/holidays.h"

class CHolidayFile : public QObject {
    Q_OBJECT

public:
    // Reads the file at `path` (by default UserFilePath()) at once and then
    // watches it and the folders above it, so that a file created, edited,
    // replaced or removed later is read again.
    explicit CHolidayFile(QObject* parent = nullptr);
    CHolidayFile(const QString& path, QObject* parent);

    // $XDG_CONFIG_HOME/qov/holidays.tsv (an absolute $XDG_CONFIG_HOME, else
    // ~/.config); %APPDATA%\qov\holidays.tsv on Windows (an absolute
    // %APPDATA%, else ~\AppData\Roaming).
    static QString UserFilePath();

    QString path() const { return m_path; }
    // The shipped schedule with the file's lines applied.
    const qov::HolidayTable& table() const noexcept { return m_table; }
    // The messages of the last reading, as written to standard error.
    QStringList messages() const { return m_messages; }

    // Reads the file now when it differs (existence, size, modification time)
    // from the last reading; emits changed() when it did.
    void Reload();

Q_SIGNALS:
    void changed();

private:
    // Reads the file, or gives the shipped schedule with a message where it
    // cannot be used as a whole; no message for a missing file.
    void Read();
    // Watches the file and its folder where they exist, and the folder's
    // parent, where a missing folder will appear.
    void Watch();

    QString m_path;
    qov::HolidayTable m_table;
    QStringList m_messages;
    QFileSystemWatcher m_watcher;
    // Editors save in several steps (write a copy, rename, touch): the
    // notices of one save are read once, a moment after the last.
    QTimer m_settle;
    bool m_seen = false;  // whether a reading has been made
    bool m_existed = false;
    qint64 m_size = -1;
    QDateTime m_modified;
};
