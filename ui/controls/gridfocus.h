// The keyboard and screen-reader face of the painted month grid: a child
// widget over the grid that takes the focus (by Tab, or when the grid is
// clicked), turns the grid's keys into commands, frames the selected cell
// while it has the focus, and tells assistive technology the selected day.
// Mouse events pass through it to the window, which paints the grid.
#pragma once

#include <QRect>
#include <QWidget>
#include <optional>

#include "model/gridkeys.h"

class QKeyEvent;

class CGridFocus : public QWidget {
    Q_OBJECT

public:
    explicit CGridFocus(QWidget* parent = nullptr);

    // The selected cell (in this widget's coordinates) and the texts a
    // screen reader gets for it: the date and weekday as the name, the whole
    // day as the description. A changed day is announced as a value change.
    void SetSelection(const QRect& cell, const QString& name, const QString& description);
    QRect selectedCell() const noexcept { return m_cell; }
    // Value-change events sent so far (delivered only while an assistive
    // technology listens).
    int announcements() const noexcept { return m_announcements; }

    // The grid command of a key press, if it is one.
    static std::optional<qov::GridKey> KeyCommand(const QKeyEvent* event) noexcept;

Q_SIGNALS:
    void gridKey(qov::GridKey key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QRect m_cell;
    int m_announcements = 0;
};
