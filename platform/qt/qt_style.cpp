#include "platform/qt/qt_style.h"

#include <QPainter>
#include <QStyleOption>

namespace platform::qt {

namespace {
constexpr int kButtonSize = 9;  // the plus/minus box, in pixels, border included
constexpr char kLinesProperty[] = "torvexTreeLines";
constexpr char kButtonsProperty[] = "torvexTreeButtons";
}  // namespace

void ControlStyle::SetTreeBranches(QWidget* tree, bool lines, bool buttons) {
    tree->setProperty(kLinesProperty, lines);
    tree->setProperty(kButtonsProperty, buttons);
}

int ControlStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    if (hint == SH_ComboBox_Popup) {
        return 0;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void ControlStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (element != PE_IndicatorBranch) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const bool lines = widget != nullptr && widget->property(kLinesProperty).toBool();
    const bool buttons = widget == nullptr || widget->property(kButtonsProperty).toBool();
    QStyleOption branch(*option);
    if (!buttons) {
        branch.state &= ~State_Children;
    }
    if (lines) {
        DrawBranch(branch, painter);
    } else {
        QProxyStyle::drawPrimitive(element, &branch, painter, widget);
    }
}

// One indentation column of a row: the box when the item has children, a line from the middle
// to the right towards the item, and a line down the middle while siblings follow.
void ControlStyle::DrawBranch(const QStyleOption& option, QPainter* painter) const {
    const QRect& r = option.rect;
    const int midX = r.x() + r.width() / 2;
    const int midY = r.y() + r.height() / 2;
    // Without a box the lines meet in the middle pixel.
    const bool box = option.state & State_Children;
    const int half = box ? kButtonSize / 2 : 0;
    const int boxLeft = midX - half;
    const int boxTop = midY - half;
    const int boxRight = box ? midX + half : midX - 1;
    const int boxBottom = box ? midY + half : midY - 1;
    painter->save();
    if (box) {
        painter->fillRect(boxLeft, boxTop, kButtonSize, kButtonSize, option.palette.base());
        painter->setPen(option.palette.dark().color());
        painter->drawRect(boxLeft, boxTop, kButtonSize - 1, kButtonSize - 1);
        painter->setPen(option.palette.text().color());
        painter->drawLine(boxLeft + 2, midY, boxRight - 2, midY);
        if (!(option.state & State_Open)) {
            painter->drawLine(midX, boxTop + 2, midX, boxBottom - 2);
        }
    }
    const QBrush dots(option.palette.dark().color(), Qt::Dense4Pattern);
    if (option.state & State_Item) {
        if (option.direction == Qt::RightToLeft) {
            painter->fillRect(r.left(), midY, boxLeft - r.left(), 1, dots);
        } else {
            painter->fillRect(boxRight + 1, midY, r.right() - boxRight, 1, dots);
        }
    }
    if (option.state & State_Sibling) {
        painter->fillRect(midX, boxBottom + 1, 1, r.bottom() - boxBottom, dots);
    }
    if (option.state & (State_Open | State_Children | State_Item | State_Sibling)) {
        painter->fillRect(midX, r.y(), 1, boxTop - r.y(), dots);
    }
    painter->restore();
}

}  // namespace platform::qt
