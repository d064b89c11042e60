#include "infobox.h"

#include "appmessage.h"

namespace InfoBox
{

void show(QWidget *parent, const QString &text)
{
    AppMessage::show(parent, text);
}

void setHandler(Handler h)
{
    AppMessage::Hook hook;
    if (h) {
        hook = [h = std::move(h)](QWidget *parent, const QString &text, const QString &) {
            h(parent, text);
        };
    }
    AppMessage::setHook(std::move(hook), "InfoBox");
}

} // namespace InfoBox
