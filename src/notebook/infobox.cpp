#include "infobox.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace
{
InfoBox::Handler &handler()
{
    static InfoBox::Handler h;
    return h;
}
} // namespace

namespace InfoBox
{

void show(QWidget *parent, const QString &text)
{
    if (handler()) {
        handler()(parent, text);
        return;
    }
    QMessageBox::information(parent, QGuiApplication::applicationDisplayName(), text);
}

void setHandler(Handler h)
{
    handler() = std::move(h);
}

} // namespace InfoBox
