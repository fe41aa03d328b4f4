#include "controls/gridfocus.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QStringDecoder>
#include <array>

#include "painters.h"

namespace {

using qov::grid::CellCount;
using qov::grid::Columns;
using qov::grid::Rows;

// The weekday names above the grid: 20 pixels above the first row, 19 high.
constexpr int HeaderRise = 20;
constexpr int HeaderHeight = 19;

// A column header (row -1) or a day cell of the grid's table. Made by the
// table on demand and registered with Qt's accessibility cache (whose id
// names it on the bus); the table deletes it with itself, as Qt's item views
// do with theirs.
class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCellAccessible(CGridFocus* grid, int row, int column)
        : m_grid(grid), m_row(row), m_column(column)
    { }

    bool isValid() const override { return !m_grid.isNull(); }
    QObject* object() const override { return nullptr; }
    QAccessible::Role role() const override
    {
        return m_row < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.invisible = !m_grid->isVisible();
        if (m_row < 0) return state;
        state.focusable = true;
        state.selectable = true;
        state.selected = isSelected();
        state.focused = state.selected && m_grid->hasFocus();
        return state;
    }
    QRect rect() const override
    {
        if (!isValid()) return {};
        const QRect cell = m_row < 0 ? m_grid->CellRect(0, m_column).translated(0, -HeaderRise)
                                     : m_grid->CellRect(m_row, m_column);
        return QRect(m_grid->mapToGlobal(cell.topLeft()),
            m_row < 0 ? QSize(cell.width(), HeaderHeight) : cell.size());
    }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid()) return {};
        if (m_row < 0) {
            if (t != QAccessible::Name) return {};
            const std::string name = qov::ColumnHeader(m_column, m_grid->weekStart());
            return QStringDecoder("GBK").decode(
                QByteArrayView(name.data(), qsizetype(name.size())));
        }
        const CGridFocus::CellTexts texts = m_grid->Texts(m_row, m_column);
        if (t == QAccessible::Name) return texts.name;
        if (t == QAccessible::Description) return texts.description;
        return {};
    }
    void setText(QAccessible::Text, const QString&) override { }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface && m_row >= 0
            ? static_cast<QAccessibleTableCellInterface*>(this)
            : nullptr;
    }

    bool isSelected() const override
    {
        return isValid() && m_grid->selection() == qov::GridCell{m_row, m_column};
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        QAccessibleInterface* table = parent();
        return {table->child(m_column)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_column; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<CGridFocus> m_grid;
    int m_row;
    int m_column;
};

// The grid as a table: its children are the 7 column headers, then the 42
// cells row by row, as in Qt's item views. Its name is the widget's (the
// month shown).
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(CGridFocus* grid) : QAccessibleWidget(grid, QAccessible::Table) { }
    ~GridAccessible() override
    {
        for (QAccessible::Id id : m_children)
            if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    int childCount() const override { return Columns + CellCount; }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount()) return nullptr;
        QAccessible::Id& id = m_children[static_cast<std::size_t>(index)];
        if (id == 0) {
            const int row = index < Columns ? -1 : (index - Columns) / Columns;
            id = QAccessible::registerAccessibleInterface(
                new GridCellAccessible(grid(), row, index % Columns));
        }
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
        const auto found = std::find(m_children.begin(), m_children.end(), id);
        return found == m_children.end() ? -1 : int(found - m_children.begin());
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint local = grid()->mapFromGlobal(QPoint(x, y));
        for (int row = 0; row < Rows; ++row)
            for (int column = 0; column < Columns; ++column)
                if (grid()->CellRect(row, column).contains(local)) return cellAt(row, column);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        if (!grid()->hasFocus()) return nullptr;
        return cellAt(grid()->selection().row, grid()->selection().column);
    }

    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || row >= Rows || column < 0 || column >= Columns) return nullptr;
        return child(Columns + row * Columns + column);
    }
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QString columnDescription(int column) const override
    {
        QAccessibleInterface* header = child(column);
        return header != nullptr ? header->text(QAccessible::Name) : QString();
    }
    QString rowDescription(int) const override { return {}; }
    int columnCount() const override { return Columns; }
    int rowCount() const override { return Rows; }
    int selectedCellCount() const override { return 1; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        return {cellAt(grid()->selection().row, grid()->selection().column)};
    }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // The selection is the window's date; screen readers change it by keys.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { }

private:
    CGridFocus* grid() const { return static_cast<CGridFocus*>(widget()); }

    mutable std::array<QAccessible::Id, Columns + CellCount> m_children{};
};

QAccessibleInterface* GridFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CGridFocus") && object->isWidgetType())
        return new GridAccessible(static_cast<CGridFocus*>(object));
    return nullptr;
}

}  // namespace

CGridFocus::CGridFocus(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(GridFactory);
        return true;
    }();
    (void)factoryInstalled;
    setFocusPolicy(Qt::StrongFocus);
    // The window under it handles the pointer: selection, hover tip, drag.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

CGridFocus::CellTexts CGridFocus::Texts(int row, int column) const
{
    return m_texts ? m_texts(row, column) : CellTexts{};
}

QRect CGridFocus::CellRect(int row, int column) const
{
    return ToQRect(qov::CellRect(row, column)).translated(-pos());
}

QRect CGridFocus::selectedCell() const { return CellRect(m_selection.row, m_selection.column); }

void CGridFocus::SetSelection(qov::GridCell cell)
{
    if (cell != m_selection && hasFocus()) {
        update(selectedCell());
        update(CellRect(cell.row, cell.column));
    }
    m_selection = cell;
    CellTexts texts = Texts(cell.row, cell.column);
    if (texts.name == m_spoken.name && texts.description == m_spoken.description) return;
    m_spoken = std::move(texts);
    if (hasFocus()) Announce();
}

void CGridFocus::Announce()
{
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(Columns + m_selection.row * Columns + m_selection.column);
    QAccessible::updateAccessibility(&event);
    ++m_announcements;
    m_announcePending = false;
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
    if (!hasFocus()) return;
    // A 1 px frame in the highlight colour just inside the cell, plain
    // enough to show on the white grid and on the selection fill alike.
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(selectedCell().adjusted(1, 1, -2, -2));
}

void CGridFocus::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update(selectedCell());
    // After the widget's own focus event, which Qt sends once this returns:
    // the screen reader then speaks the day, not only the table.
    m_announcePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_announcePending && hasFocus()) Announce();
        },
        Qt::QueuedConnection);
}

void CGridFocus::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update(selectedCell());
}
