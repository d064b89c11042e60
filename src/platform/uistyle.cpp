#include "uistyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPalette>

namespace UiStyle
{

QPalette palette()
{
    QPalette pal;
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::AlternateBase, Blue);
    pal.setColor(QPalette::Button, Blue);
    pal.setColor(QPalette::Light, Qt::white);
    pal.setColor(QPalette::Midlight, QColor(236, 241, 249));
    pal.setColor(QPalette::Mid, QColor(170, 187, 214));
    pal.setColor(QPalette::Dark, QColor(146, 168, 218));
    pal.setColor(QPalette::Shadow, QColor(120, 140, 180));
    pal.setColor(QPalette::Highlight, Accent);
    pal.setColor(QPalette::HighlightedText, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::Text, Qt::black);
    pal.setColor(QPalette::ButtonText, Qt::black);
    pal.setColor(QPalette::ToolTipBase, QColor(255, 255, 225));
    pal.setColor(QPalette::ToolTipText, Qt::black);
    return pal;
}

QFont pixelFont(const QString &family, int px, bool bold)
{
    QFont font(family);
    font.setPixelSize(px);
    // Left unset unless bold, so that a widget's font still inherits its parent's weight.
    if (bold) font.setBold(true);
    return font;
}

void paintWash(QPainter &p, const QRect &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(r, g);
}

QString buttonStyle()
{
    return QStringLiteral(
        "QPushButton { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 "
        "#d8e3f3);"
        " border: 1px solid #9db3d6; border-radius: 3px; padding: 2px 8px; color: #1d3557; }"
        "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, "
        "stop:1 #c3d5ef);"
        " border-color: #6f8fc4; }"
        "QPushButton:pressed { background: #c3d5ef; }");
}

} // namespace UiStyle
