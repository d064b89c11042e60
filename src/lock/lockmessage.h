#pragma once

#include <QString>
#include <functional>

class QWidget;

// The plain OK message boxes of the lock windows. Tests install a hook that records the
// messages, so that no modal loop has to be answered.
namespace LockMessage
{

// Caption of every message that names no caption of its own: the application title.
QString appTitle();

using Hook = std::function<void(QWidget *owner, const QString &text, const QString &caption)>;
// An empty hook restores the message box.
void setHook(Hook hook);

// A message box with an OK button and no icon, owned by owner.
void show(QWidget *owner, const QString &text, const QString &caption = appTitle());

} // namespace LockMessage
