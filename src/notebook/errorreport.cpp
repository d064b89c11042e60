#include "errorreport.h"

#include "appmessage.h"

void ErrorReport::show(QWidget *parent, const QString &text)
{
    AppMessage::show(parent, text);
}

void ErrorReport::setHandler(Handler h)
{
    if (!h) {
        AppMessage::setHook({}, "ErrorReport");
        return;
    }
    AppMessage::setHook([h = std::move(h)](QWidget *parent, const QString &text,
                                           const QString &) { h(parent, text); },
                        "ErrorReport");
}
