#pragma once

#include <QString>

#include <functional>

class QWidget;

// The application's general error report: what went wrong during the window's creation or at
// its close button, shown as a message box with the error text; the program goes on. Tests
// install a handler so that no modal loop runs.
namespace ErrorReport
{

using Handler = std::function<void(QWidget *parent, const QString &text)>;

void show(QWidget *parent, const QString &text);
// An empty handler restores the message box.
void setHandler(Handler handler);

} // namespace ErrorReport
