#include "controls/qovedit.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

using namespace Qt::StringLiterals;

namespace {

// QLineEdit keeps this many pixels between its contents rectangle and the
// first character of its text.
constexpr int LineEditTextMargin = 2;

// The only keys the plain line edit may handle: caret movement and
// selection extension, and a bare Delete, which only removes the selected
// characters from the text (the stored date stays; the next digit or focus
// loss shows it again). Everything else, the clipboard shortcuts (Ctrl+C/V/X,
// Shift+Insert, Shift+Delete, Ctrl+Insert), undo and Backspace included,
// never reaches it.
bool IsEditorKey(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    case Qt::Key_Delete:
        return event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    default:
        return false;
    }
}

}  // namespace

CQovEdit::CQovEdit(int controlId, QWidget* parent) : QLineEdit(parent), m_controlId(controlId)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);  // click zones are measured from the left
    // The menu request is taken here (contextMenuEvent shows none):
    // Qt::NoContextMenu would pass it on to the window's own menu.
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // Clear of the left border, like the text of the lists beside it.
    setTextMargins(2, 0, 0, 0);
    setAcceptDrops(false);
    setDragEnabled(false);
    // Committed input-method text would bypass the digit handling; digits
    // arrive as plain key presses.
    setAttribute(Qt::WA_InputMethodEnabled, false);
    const qov::SolarDate today = qov::Today();
    SetDate(today.year, today.month, today.day);
}

void CQovEdit::SetDate(int year, int month, int day)
{
    m_entry.SetDate(year, month, day);
    ShowText();
}

void CQovEdit::SelectField(int field)
{
    setFocus(Qt::OtherFocusReason);
    if (m_entry.SelectField(field)) ShowSelection();
}

void CQovEdit::Normalize()
{
    m_entry.Normalize();
    ShowText();
}

void CQovEdit::ShowText() { setText(QString::fromLatin1(m_entry.Text())); }

void CQovEdit::ShowSelection()
{
    const qov::TextRange range = m_entry.Selection();
    setSelection(range.start, range.end - range.start);
}

void CQovEdit::TypeCharacter(char32_t ch)
{
    const qov::EntryResult result = m_entry.Type(ch);
    if (result == qov::EntryResult::Ignored) return;
    ShowText();
    if (result == qov::EntryResult::Continue) {
        ShowSelection();
        return;
    }
    // The receiver may move the focus away (and so normalise this field)
    // before the signal returns; nothing may follow it here.
    Q_EMIT entryComplete(m_controlId);
}

void CQovEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();  // the dialog decides
        return;
    default:
        break;
    }
    const QString text = event->text();
    const bool commandModifier =
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    if (text.size() == 1 && text.front().isDigit() && !commandModifier) {
        TypeCharacter(text.front().unicode());
        event->accept();
        return;
    }
    if (IsEditorKey(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!text.isEmpty()) {
        event->accept();  // letters, Backspace and other characters: dropped
        return;
    }
    event->ignore();  // function keys and the like go on to the parent
}

void CQovEdit::inputMethodEvent(QInputMethodEvent* event)
{
    for (const QChar c : event->commitString()) TypeCharacter(c.unicode());
    event->accept();
}

int CQovEdit::CharacterX(int index) const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()
                               ->subElementRect(QStyle::SE_LineEditContents, &option, this)
                               .marginsRemoved(textMargins());
    return contents.left() + LineEditTextMargin
        + fontMetrics().horizontalAdvance(text().left(index));
}

void CQovEdit::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton) return;  // no context menu, no paste
    // Zones start at each field's first character and span four or two
    // spaces of the field's own font.
    const int starts[3] = {CharacterX(qov::DateEntry::FieldStart(1)),
        CharacterX(qov::DateEntry::FieldStart(2)), CharacterX(qov::DateEntry::FieldStart(3))};
    const QFontMetrics metrics = fontMetrics();
    const int field = qov::DateEntry::FieldAtX(static_cast<int>(event->position().x()), starts,
        metrics.horizontalAdvance(u"    "_s), metrics.horizontalAdvance(u"  "_s));
    if (field != 0 && m_entry.SelectField(field)) ShowSelection();
    setFocus(Qt::MouseFocusReason);
}

void CQovEdit::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();  // no selection-clipboard paste with the middle button
}

void CQovEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();  // no word selection
}

void CQovEdit::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();  // no selection by dragging
}

void CQovEdit::contextMenuEvent(QContextMenuEvent* event) { event->accept(); }

void CQovEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    const Qt::FocusReason reason = event->reason();
    const bool byKeyboard = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
        || reason == Qt::ShortcutFocusReason;
    if (!byKeyboard) return;
    // Reached with the keyboard: continue a field in progress, otherwise
    // start a new date at its year.
    if (!m_entry.InProgress()) m_entry.SelectField(qov::DateEntry::YearField);
    ShowSelection();
}

void CQovEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    Normalize();
}
