#pragma once

#include <QString>

#include <functional>
#include <string>

class QWidget;

// The program's plain OK message boxes. Every window reports through here, so a test hook
// installed through any of the modules' message seams receives the messages of all windows and
// no modal loop runs.
namespace AppMessage
{

// Caption of every message that names no caption of its own.
QString appTitle();

using Hook = std::function<void(QWidget *parent, const QString &text, const QString &caption)>;

// Hooks are kept per seam: clearing one seam's hook (an empty hook) leaves the others in place.
// The hook installed last receives every message; with none, the message box runs.
void setHook(Hook hook, const std::string &seam = "AppMessage");

// A message box with an OK button and no icon, owned by parent.
void show(QWidget *parent, const QString &text, const QString &caption = appTitle());

} // namespace AppMessage
