#include "errorreport.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace
{
ErrorReport::Handler &handler()
{
    static ErrorReport::Handler h;
    return h;
}
} // namespace

void ErrorReport::show(QWidget *parent, const QString &text)
{
    if (handler()) {
        handler()(parent, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

void ErrorReport::setHandler(Handler h)
{
    handler() = std::move(h);
}
