#include "controls/qovlist.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionComboBox>

namespace {

// The application's style with two changes for combo boxes: the popup is a
// plain list (Fusion and some other styles open a menu holding every item,
// which ignores the visible-item limit), and the arrow is narrower, so the
// text field gets the room.
class ListStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
        QStyleHintReturn* returnData) const override
    {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
        SubControl subControl, const QWidget* widget) const override
    {
        if (control == CC_ComboBox && option != nullptr) {
            const QRect box = option->rect;
            // 1 px frame and 1 px inside it; the arrow's column at the right.
            if (subControl == SC_ComboBoxArrow)
                return visualRect(option->direction, box,
                    QRect(box.right() - CQovList::ArrowWidth + 1, box.top(), CQovList::ArrowWidth,
                        box.height()));
            if (subControl == SC_ComboBoxEditField)
                return visualRect(option->direction, box,
                    QRect(box.left() + 2, box.top() + 2, box.width() - CQovList::ArrowWidth - 3,
                        box.height() - 4));
        }
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
};

// One style for all lists, deleted with the application.
QStyle* SharedListStyle()
{
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new ListStyle;
        style->setParent(qApp);
    }
    return style;
}

// A list for screen readers: its own name (what it chooses, "年份") and its
// current item as the value, and as its read-only text, where Orca looks
// for a list's value when the list offers no selection (Qt 6.4's do not).
// Qt's interface for combo boxes gives the current item as the name on
// Linux, so that Orca says "2026 combo box" and not what it chooses.
class ListAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ListAccessible(CQovList* list) : QAccessibleWidget(list, QAccessible::ComboBox) { }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) return list()->currentText();
        return QAccessibleWidget::text(t);
    }
    // The drop-down list, as Qt's own combo boxes show it.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child != nullptr && child->object() == list()->view() ? 0 : -1;
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

    // The current item as text: no cursor, no selection, no attributes.
    QString text(int start, int end) const override
    {
        return list()->currentText().mid(start, end - start);
    }
    int characterCount() const override { return int(list()->currentText().size()); }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override { }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override { }
    void removeSelection(int) override { }
    void setSelection(int, int, int) override { }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override { }
    QString attributes(int, int* start, int* end) const override
    {
        *start = *end = 0;
        return {};
    }

private:
    CQovList* list() const { return static_cast<CQovList*>(widget()); }
};

QAccessibleInterface* ListFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("CQovList") && object->isWidgetType())
        return new ListAccessible(static_cast<CQovList*>(object));
    return nullptr;
}

}  // namespace

CQovList::CQovList(QWidget* parent) : QComboBox(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(ListFactory);
        return true;
    }();
    (void)factoryInstalled;
    setStyle(SharedListStyle());
    setMaxVisibleItems(MaxVisible);
}

void CQovList::showPopup()
{
    Q_EMIT popupAboutToShow();
    QComboBox::showPopup();
}
