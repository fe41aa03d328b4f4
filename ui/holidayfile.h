// The holiday schedule in its layers: the shipped table, then the downloaded
// holiday-cn files, then the user's holiday file. Both are read at start-up
// and again whenever they change on disk. The program never writes the
// user's file.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <vector>

#include "model/holidaycn.h"
#include "model/holidays.h"

class CHolidayFile : public QObject {
    Q_OBJECT

public:
    // Reads the file at `path` (by default UserFilePath()) at once and then
    // watches it and the folders above it, so that a file created, edited,
    // replaced or removed later is read again.
    explicit CHolidayFile(QObject* parent = nullptr);
    CHolidayFile(const QString& path, QObject* parent);
    CHolidayFile(const QString& path, const QString& downloads, QObject* parent);

    // $XDG_CONFIG_HOME/qov/holidays.tsv (an absolute $XDG_CONFIG_HOME, else
    // ~/.config); %APPDATA%\qov\holidays.tsv on Windows (an absolute
    // %APPDATA%, else ~\AppData\Roaming).
    static QString UserFilePath();

    // $XDG_DATA_HOME/qov/holiday-cn (an absolute $XDG_DATA_HOME, else
    // ~/.local/share); %LOCALAPPDATA%\qov\holiday-cn on Windows.
    static QString DownloadFolder();
    // The path of notice year `year`'s download in `folder`.
    static QString DownloadPath(const QString& folder, int year);
    // The schedules of the YEAR.json files in `folder` that can be read;
    // one message for each that cannot (it stays as it is).
    static std::vector<qov::HolidayCnSchedule> ReadDownloads(
        const QString& folder, QStringList* messages);

    QString path() const { return m_path; }
    // The shipped schedule, the downloads and the file's lines, in this order.
    const qov::HolidayTable& table() const noexcept { return m_table; }
    // The messages of the last reading, as written to standard error.
    QStringList messages() const { return m_messages; }

    // Reads the file and the downloads now when they differ (existence, size,
    // modification time) from the last reading; emits changed() when they did.
    void Reload();
    // Reads them now whatever their state; emits changed().
    void Refresh();

Q_SIGNALS:
    void changed();

private:
    // Reads the file, or gives the shipped schedule with a message where it
    // cannot be used as a whole; no message for a missing file.
    void Read();
    // Watches the file and its folder where they exist, and the folder's
    // parent, where a missing folder will appear.
    void Watch();

    // What identifies the state of the user's file and of the downloads.
    QStringList Signature() const;

    QString m_path;
    QString m_downloads;
    qov::HolidayTable m_table;
    QStringList m_messages;
    QFileSystemWatcher m_watcher;
    // Editors save in several steps (write a copy, rename, touch): the
    // notices of one save are read once, a moment after the last.
    QTimer m_settle;
    bool m_seen = false;  // whether a reading has been made
    QStringList m_signature;
};
