// The keyboard and screen-reader face of the painted month grid: a child
// widget over the grid that takes the focus (by Tab, or when the grid is
// clicked), turns the grid's keys into commands, frames the selected cell
// while it has the focus, and shows assistive technology a table of 6 x 7
// day cells under weekday column headers, as Qt's item views do: each move
// of the selection while the grid has the focus is a focus event on the new
// cell. Mouse events pass through it to the window, which paints the grid.
#pragma once

#include <QRect>
#include <QWidget>
#include <functional>
#include <optional>

#include "model/geometry.h"
#include "model/gridkeys.h"

class QKeyEvent;

class CGridFocus : public QWidget {
    Q_OBJECT

public:
    // What a screen reader gets for one cell.
    struct CellTexts {
        QString name;         // date and weekday
        QString description;  // the rest of the day
    };
    // The texts of cell (row 0..5, column 0..6) of the page shown.
    using CellTextSource = std::function<CellTexts(int row, int column)>;

    explicit CGridFocus(QWidget* parent = nullptr);

    void SetCellTexts(CellTextSource source) { m_texts = std::move(source); }
    // The weekday of the first column, for the column headers.
    void SetWeekStart(qov::WeekStart start) noexcept { m_weekStart = start; }
    qov::WeekStart weekStart() const noexcept { return m_weekStart; }
    CellTexts Texts(int row, int column) const;
    // The selected cell. A new day there (or new texts for it) is announced
    // while the grid has the focus.
    void SetSelection(qov::GridCell cell);
    qov::GridCell selection() const noexcept { return m_selection; }
    // The selected cell in this widget's coordinates.
    QRect selectedCell() const;
    // The rectangle of a cell in this widget's coordinates.
    QRect CellRect(int row, int column) const;
    // Focus events sent for cells so far (delivered only while an assistive
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
    // A focus event on the selected cell.
    void Announce();

    CellTextSource m_texts;
    qov::WeekStart m_weekStart = qov::WeekStart::Sunday;
    qov::GridCell m_selection;
    CellTexts m_spoken;  // of the selected cell when last announced or set
    int m_announcements = 0;
    bool m_announcePending = false;  // focus came in, the day not yet announced
};
