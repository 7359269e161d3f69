#include "shell/MenuDraw.h"

#include "shell/Icons.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace {

constexpr int TextGap = 2;   // caption starts this far right of the strip
constexpr int ImageLeft = 5; // the picture's offset from the item's left edge
constexpr int ImageTop = 2;
constexpr int RightMargin = 18; // room for the submenu arrow
constexpr int ShortcutGap = 24;

// The caption as shown: the first mnemonic mark goes, a doubled mark is a
// literal "&".
QString ShownCaption(const QString& caption)
{
    QString shown;
    shown.reserve(caption.size());
    bool mnemonicDone = false;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        if (c == QLatin1Char('&')) {
            if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
                shown += c;
                ++i;
                continue;
            }
            if (!mnemonicDone) {
                mnemonicDone = true;
                continue;
            }
        }
        shown += c;
    }
    return shown;
}

void DrawSubMenuArrow(QPainter& painter, const QRect& rect, const QColor& colour)
{
    const int cx = rect.right() - 8;
    const int cy = rect.center().y();
    const QPoint points[3] = {QPoint(cx - 2, cy - 4), QPoint(cx + 2, cy), QPoint(cx - 2, cy + 4)};
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(points, 3);
}

} // namespace

QColor FromColorRef(unsigned int colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

QColor TMenuStyle::SeparatorColour() { return FromColorRef(15780518); }
QColor TMenuStyle::SelectionFrom() { return FromColorRef(10198015); }

QImage DiagonalGradient(const QSize& size, QColor from, QColor to)
{
    QImage image(size.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    if (w == 0 || h == 0)
        return image;
    const int fr = from.red(), fg = from.green(), fb = from.blue();
    const int dr = to.red() - fr, dg = to.green() - fg, db = to.blue() - fb;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int t = int((double(y) / h + double(x) / w) * 512.0);
            line[x] = qRgb(fr + t * dr / 1024, fg + t * dg / 1024, fb + t * db / 1024);
        }
    }
    return image;
}

void BaseMenuDraw(QPainter& painter, const QRect& rect, const TMenuItemLook& item, const QImage& stripPattern,
                  const QFont& font)
{
    painter.save();
    painter.setFont(font);
    const bool highlighted = item.Selected && item.Enabled && !item.Separator;
    if (highlighted) {
        const QSize inner(std::max(0, rect.width() - 2), std::max(0, rect.height() - 2));
        painter.drawImage(rect.topLeft() + QPoint(1, 1),
                          DiagonalGradient(inner, TMenuStyle::SelectionFrom(), Qt::white));
        painter.setPen(Qt::black);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    } else {
        const QRect strip(rect.left(), rect.top(), TMenuStyle::StripWidth, rect.height());
        painter.fillRect(strip, QBrush(stripPattern));
        painter.fillRect(rect.adjusted(TMenuStyle::StripWidth, 0, 0, 0), Qt::white);
    }
    const int textLeft = rect.left() + TMenuStyle::StripWidth;

    if (item.Separator) {
        painter.setPen(TMenuStyle::SeparatorColour());
        const int y = rect.bottom() + 1 - 4;
        painter.drawLine(textLeft + TextGap, y, rect.right(), y);
        painter.restore();
        return;
    }

    const QColor textColour = item.Enabled ? TMenuStyle::EnabledText() : TMenuStyle::DisabledText();
    painter.setPen(textColour);
    const qsizetype tab = item.Caption.indexOf(QLatin1Char('\t'));
    const QString caption = ShownCaption(tab < 0 ? item.Caption : item.Caption.left(tab));
    const QRect textRect(textLeft + TextGap, rect.top() + 2, rect.width(), rect.height() - 2);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
    if (tab >= 0) {
        const QRect keyRect(textLeft, rect.top() + 2, rect.right() - textLeft - RightMargin, rect.height() - 2);
        painter.drawText(keyRect, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, item.Caption.mid(tab + 1));
    }
    if (item.SubMenu)
        DrawSubMenuArrow(painter, rect, textColour);

    QImage image = item.Image;
    if (image.isNull() && item.Checked)
        image = ToolImage(TToolImage::CheckMark);
    if (!image.isNull()) {
        if (!item.Enabled)
            image = GreyedImage(image);
        painter.drawImage(rect.topLeft() + QPoint(ImageLeft, ImageTop), image);
    }
    painter.restore();
}

TMenuStyle::TMenuStyle() : Pattern(StripPattern()) {}

void TMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const
{
    const auto* menuItem = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element != CE_MenuItem || menuItem == nullptr) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    if (menuItem->menuItemType == QStyleOptionMenuItem::EmptyArea) {
        painter->fillRect(option->rect, Qt::white);
        return;
    }
    TMenuItemLook look;
    look.Caption = menuItem->text;
    look.Separator = menuItem->menuItemType == QStyleOptionMenuItem::Separator;
    look.Enabled = (option->state & State_Enabled) != 0;
    look.Selected = (option->state & State_Selected) != 0;
    look.Checked = menuItem->checkType != QStyleOptionMenuItem::NotCheckable && menuItem->checked;
    look.SubMenu = menuItem->menuItemType == QStyleOptionMenuItem::SubMenu;
    if (!menuItem->icon.isNull())
        look.Image = menuItem->icon.pixmap(ToolImageSize, ToolImageSize).toImage();
    BaseMenuDraw(*painter, option->rect, look, Pattern, menuItem->font);
}

QSize TMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                   const QWidget* widget) const
{
    const auto* menuItem = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || menuItem == nullptr)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    if (menuItem->menuItemType == QStyleOptionMenuItem::Separator)
        return QSize(StripWidth + 20, SeparatorHeight);
    const QFontMetrics metrics(menuItem->font);
    const QString& text = menuItem->text;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    int width = StripWidth + TextGap + metrics.horizontalAdvance(ShownCaption(tab < 0 ? text : text.left(tab)));
    if (tab >= 0)
        width += ShortcutGap + metrics.horizontalAdvance(text.mid(tab + 1));
    width += RightMargin;
    return QSize(width, std::max(ItemHeight, metrics.height() + 4));
}

int TMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    case PM_MenuPanelWidth:
        return 1;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int TMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const
{
    // A disabled item never takes the selection bar; it stays silver on white.
    if (hint == SH_Menu_AllowActiveAndDisabled)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void InstallMenuDraw(QMenu* menu, TMenuStyle* style)
{
    if (menu == nullptr)
        return;
    menu->setStyle(style);
    for (QAction* action : menu->actions())
        InstallMenuDraw(action->menu(), style);
}
