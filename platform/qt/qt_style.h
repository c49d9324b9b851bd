#pragma once

#include <QProxyStyle>

// What the native controls draw or do differently from the desktop style: the tree's dotted
// lines and plus/minus buttons, and a drop-down list that opens below its box at the height
// the template gives it (rather than as a menu over the box).
namespace platform::qt {

class ControlStyle : public QProxyStyle {
  public:
    // What a tree drawn with this style shows before its items: dotted lines between them, and
    // a plus/minus box before those with children. Without lines, the desktop's own marks.
    static void SetTreeBranches(QWidget* tree, bool lines, bool buttons);

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;

  private:
    void DrawBranch(const QStyleOption& option, QPainter* painter) const;
};

}  // namespace platform::qt
