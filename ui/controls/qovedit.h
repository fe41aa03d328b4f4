// A single-line date field that always shows one date as "YYYY-MM-DD" and is
// typed field by field: digits go into the active field (shown selected),
// the field moves on by itself, and the owner is told when the day has been
// entered. A click picks the field under it; focus loss brings the date into
// range. No free editing: letters, Backspace, paste, cut, copy, drag and
// drop, the context menu and input methods do nothing.
#pragma once

#include <QLineEdit>

#include "gregorian.h"
#include "model/dateentry.h"

class CQovEdit : public QLineEdit {
    Q_OBJECT

public:
    // `controlId` identifies the field in entryComplete (the main window uses
    // 1063 for the start date and 1064 for the end date). Starts at today's
    // date (qov::Today(), as the main window's today).
    explicit CQovEdit(int controlId, QWidget* parent = nullptr);

    int controlId() const noexcept { return m_controlId; }

    // Stores and shows a date; brought into range unless a field is half typed.
    void SetDate(int year, int month, int day);
    // The stored date (not the text).
    qov::SolarDate GetDate() const noexcept { return m_entry.GetDate(); }

    // Focuses the field and selects its year (1), month (2) or day (3) for
    // typing; any other number only focuses it.
    void SelectField(int field);

    // Brings the stored date into range and shows it; runs on focus loss.
    void Normalize();

    // The date-entry state, for tests and diagnostics.
    const qov::DateEntry& entry() const noexcept { return m_entry; }

Q_SIGNALS:
    // The day has just been entered and the date is complete. Emitted
    // synchronously while the digit is handled; the receiver may move the
    // focus away.
    void entryComplete(int controlId);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowText();
    void ShowSelection();
    void TypeCharacter(char32_t ch);
    // x of the left edge of the character at `index`, in widget pixels.
    int CharacterX(int index) const;

    qov::DateEntry m_entry;
    int m_controlId;
};
