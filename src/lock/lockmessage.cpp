#include "lockmessage.h"

#include <QMessageBox>

namespace
{
LockMessage::Hook &hook()
{
    static LockMessage::Hook h;
    return h;
}
} // namespace

namespace LockMessage
{

QString appTitle()
{
    return QStringLiteral("KQ周记事本");
}

void setHook(Hook h)
{
    hook() = std::move(h);
}

void show(QWidget *owner, const QString &text, const QString &caption)
{
    if (hook()) {
        hook()(owner, text, caption);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

} // namespace LockMessage
