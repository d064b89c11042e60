#pragma once

#include "appmessage.h"

#include <utility>

// The lock windows report through AppMessage; this seam stays for the lock's tests, and a hook
// installed here receives the messages of every window.
namespace LockMessage
{

inline QString appTitle()
{
    return AppMessage::appTitle();
}

using Hook = AppMessage::Hook;
// An empty hook restores the message box.
inline void setHook(Hook hook)
{
    AppMessage::setHook(std::move(hook), "LockMessage");
}

inline void show(QWidget *owner, const QString &text, const QString &caption = appTitle())
{
    AppMessage::show(owner, text, caption);
}

} // namespace LockMessage
