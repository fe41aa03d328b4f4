#include "controls/qovlist.h"

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

}  // namespace

CQovList::CQovList(QWidget* parent) : QComboBox(parent)
{
    setStyle(SharedListStyle());
    setMaxVisibleItems(MaxVisible);
}

void CQovList::showPopup()
{
    Q_EMIT popupAboutToShow();
    QComboBox::showPopup();
}
