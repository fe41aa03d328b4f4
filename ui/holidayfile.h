// The user's holiday file: read at start-up and again whenever it changes on
// disk, applied over the shipped schedule. The program never writes it.
#pragma once

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

    // $XDG_CONFIG_HOME/qov/holidays.tsv (an absolute $XDG_CONFIG_HOME, else
    // ~/.config); %APPDATA%\qov\holidays.tsv on Windows (an absolute
    // %APPDATA%, else ~\AppData\Roaming).
    static QString UserFilePath();

    // The shipped schedule with the file's lines applied.
    const qov::HolidayTable& table() const noexcept { return m_table; }

private:
    // Reads the file, or gives the shipped schedule with a message where it
    // cannot be used as a whole; no message for a missing file.
    void Read() override;

    qov::HolidayTable m_table;
};
