// The holiday schedule in its layers: the shipped table, then the downloaded
// holiday-cn files, then the user's holiday file. Both are read at start-up
// and again whenever they change on disk. The program never writes the
// user's file.
#pragma once

#include <QStringList>
#include <vector>

#include "model/holidaycn.h"
#include "model/holidays.h"
#include "userfiles/watchedfile.h"

class CHolidayFile : public CWatchedFile {
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

    // The shipped schedule, the downloads and the file's lines, in this order.
    const qov::HolidayTable& table() const noexcept { return m_table; }

private:
    // Reads the downloads and the file, or gives the shipped and downloaded
    // schedules with a message where the file cannot be used as a whole; no
    // message for a missing file.
    void Read() override;
    // The user's file and each download.
    QStringList Signature() const override;
    // Besides the file's: the downloads' folder and the two above it.
    QStringList WatchedPaths() const override;

    QString m_downloads;
    qov::HolidayTable m_table;
};
