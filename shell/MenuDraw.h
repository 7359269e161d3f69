#pragma once

#include <QColor>
#include <QImage>
#include <QProxyStyle>
#include <QSize>

class QMenu;
class QAction;

// The program draws every item of its menus itself: a white item with a
// patterned strip down the left, a gradient bar framed in black under the
// selection, separators as thin blue lines and the tool bar's pictures beside
// the captions. Install it on each menu with InstallMenuDraw; the style must
// outlive every menu it is installed on.
class TMenuStyle : public QProxyStyle {
public:
    TMenuStyle();

    // Width of the patterned strip; captions start just right of it.
    static constexpr int StripWidth = 28;
    static constexpr int ItemHeight = 22;
    static constexpr int SeparatorHeight = 9;

    // Colours of the drawing, as the program's palette names them.
    static QColor EnabledText() { return Qt::black; }
    static QColor DisabledText() { return QColor(192, 192, 192); } // silver
    static QColor SeparatorColour();                               // light sky blue
    static QColor SelectionFrom();                                 // the warm end of the bar

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;

private:
    QImage Pattern;
};

// Draws one item the way the program's menus look; `rect` is the item's
// rectangle. Exposed for the style and for tests that look at the pixels.
struct TMenuItemLook {
    QString Caption; // may hold "\t" and a shortcut after it
    bool Separator = false;
    bool Enabled = true;
    bool Selected = false;
    bool Checked = false;
    bool SubMenu = false;
    QImage Image; // empty when the item has no picture of its own
};
void BaseMenuDraw(QPainter& painter, const QRect& rect, const TMenuItemLook& item, const QImage& stripPattern,
                  const QFont& font);

// The two-colour gradient from the top-left corner to the bottom-right
// corner, used for the selection bar.
QImage DiagonalGradient(const QSize& size, QColor from, QColor to);

// Makes `menu` and every submenu below it draw with `style`. Submenus added
// later must be installed again.
void InstallMenuDraw(QMenu* menu, TMenuStyle* style);

// Colours given the Windows way: 0x00BBGGRR.
QColor FromColorRef(unsigned int colorRef);
