#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's plain OK message boxes, captioned with the application title. Tests install a
// handler so that no modal loop runs.
namespace InfoBox
{

using Handler = std::function<void(QWidget *parent, const QString &text)>;

void show(QWidget *parent, const QString &text);
// An empty handler restores the message box.
void setHandler(Handler handler);

} // namespace InfoBox
