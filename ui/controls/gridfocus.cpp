#include "controls/gridfocus.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QPainter>

CGridFocus::CGridFocus(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    // The window under it handles the pointer: selection, hover tip, drag.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CGridFocus::SetSelection(const QRect& cell, const QString& name, const QString& description)
{
    if (cell != m_cell && hasFocus()) {
        update(m_cell);
        update(cell);
    }
    m_cell = cell;
    if (name == accessibleName() && description == accessibleDescription()) return;
    setAccessibleName(name);
    setAccessibleDescription(description);
    QAccessibleValueChangeEvent event(this, description);
    QAccessible::updateAccessibility(&event);
    ++m_announcements;
}

std::optional<qov::GridKey> CGridFocus::KeyCommand(const QKeyEvent* event) noexcept
{
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const bool control = modifiers == Qt::ControlModifier;
    if (modifiers != Qt::NoModifier && !control) return std::nullopt;
    switch (event->key()) {
    case Qt::Key_Left:
        return control ? std::nullopt : std::optional(qov::GridKey::PrevDay);
    case Qt::Key_Right:
        return control ? std::nullopt : std::optional(qov::GridKey::NextDay);
    case Qt::Key_Up:
        return control ? std::nullopt : std::optional(qov::GridKey::PrevWeek);
    case Qt::Key_Down:
        return control ? std::nullopt : std::optional(qov::GridKey::NextWeek);
    case Qt::Key_PageUp:
        return control ? qov::GridKey::PrevYear : qov::GridKey::PrevMonth;
    case Qt::Key_PageDown:
        return control ? qov::GridKey::NextYear : qov::GridKey::NextMonth;
    case Qt::Key_Home:
        return control ? std::nullopt : std::optional(qov::GridKey::Today);
    default:
        return std::nullopt;
    }
}

void CGridFocus::keyPressEvent(QKeyEvent* event)
{
    if (const std::optional<qov::GridKey> key = KeyCommand(event)) {
        event->accept();
        Q_EMIT gridKey(*key);
        return;
    }
    QWidget::keyPressEvent(event);  // Tab, Esc and the rest go on
}

void CGridFocus::paintEvent(QPaintEvent*)
{
    if (!hasFocus() || m_cell.isEmpty()) return;
    // A 1 px frame in the highlight colour just inside the cell, plain
    // enough to show on the white grid and on the selection fill alike.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_cell.adjusted(1, 1, -2, -2));
}

void CGridFocus::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update(m_cell);
}

void CGridFocus::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update(m_cell);
}
