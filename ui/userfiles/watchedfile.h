// A file of the user's under $XDG_CONFIG_HOME/qov, read at start-up and
// again whenever it changes on disk: created, edited, replaced or removed.
#pragma once

#include <QByteArray>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>
#include <string_view>

class CWatchedFile : public QObject {
    Q_OBJECT

public:
    // $XDG_CONFIG_HOME/qov/<fileName> (an absolute $XDG_CONFIG_HOME, else
    // ~/.config); %APPDATA%\qov\<fileName> on Windows (an absolute
    // %APPDATA%, else ~/AppData/Roaming).
    static QString ConfigPath(const QString& fileName);

    QString path() const { return m_path; }
    // The messages of the last reading, as written to standard error.
    QStringList messages() const { return m_messages; }

    // Reads the file now when it differs (existence, size, modification time)
    // from the last reading; emits changed() when it did.
    void Reload();
    // Reads it now whatever its state; emits changed().
    void Refresh();

    // The whole file at `path`, up to `maxBytes`: its bytes, or none with a
    // reason ("is a folder, not a file", "cannot be read: ...") in `problem`;
    // none with no reason for a missing file.
    static std::optional<QByteArray> ReadAll(
        const QString& path, qint64 maxBytes, QString& problem);

    // Replaces the file at `path` with `bytes` atomically (QSaveFile), making
    // its folder when missing. False, with the reason in `error`, when it
    // cannot be written: the file is then as it was.
    static bool WriteAtomically(const QString& path, std::string_view bytes, QString& error);

Q_SIGNALS:
    void changed();

protected:
    // Watches `path`; the derived class calls Reload() once it can Read().
    CWatchedFile(const QString& path, QObject* parent);
    // Makes the file's contents current and fills m_messages.
    virtual void Read() = 0;
    // Writes the messages to standard error, one a line.
    void Report() const;
    // What tells one state of the watched files from another: by default the
    // file's existence, size and modification time.
    virtual QStringList Signature() const;
    // The paths to watch: by default the file, its folder and the folder
    // above it, where a missing folder will appear.
    virtual QStringList WatchedPaths() const;
    // A line of Signature() for one file.
    static QString StateOf(const QFileInfo& info);

    QStringList m_messages;

private:
    // Watches those of WatchedPaths() that exist.
    void Watch();

    QString m_path;
    QFileSystemWatcher m_watcher;
    // Editors save in several steps (write a copy, rename, touch): the
    // notices of one save are read once, a moment after the last.
    QTimer m_settle;
    bool m_seen = false;  // whether a reading has been made
    QStringList m_signature;
};
