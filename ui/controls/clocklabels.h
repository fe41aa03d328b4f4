// The clock and the time-zone label beside the calendar: plain labels that
// keep their own text current from a timer parented to them.
#pragma once

#include <QLabel>
#include <QString>
#include <QTime>

class QTimer;

// "%d:%.2d:%.2d": hour without a leading zero, minute and second with two
// digits, e.g. 9:05:07.
QString ClockText(const QTime& time);

// Local time of day, updated every second while shown; blank for the first
// second. Hidden, it has no timer running: a window left in the tray wakes
// nothing up.
class CQovDate : public QLabel {
    Q_OBJECT

public:
    explicit CQovDate(QWidget* parent = nullptr);

    static constexpr int IntervalMs = 1000;

Q_SIGNALS:
    // After each new text: the window's chance to notice a changed date.
    void ticked();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Tick();

    QTimer* m_timer;
};

// "当前：" and the standard-time name of the local time zone, refreshed every
// minute while shown. Reading the name costs milliseconds and megabytes, so a window may
// leave it to its first Refresh, after its first frame; until then the label
// shows "当前：" alone.
class CTimeZone : public QLabel {
    Q_OBJECT

public:
    enum class NameRead { AtOnce, OnRefresh };
    explicit CTimeZone(QWidget* parent = nullptr, NameRead read = NameRead::AtOnce);

    static constexpr int IntervalMs = 60000;

    // Reads the local zone again and sets the text.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QTimer* m_timer;
    bool m_read = false;  // the name was read at least once
};
