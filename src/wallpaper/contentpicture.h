#pragma once

#include <QString>

class QWidget;

// Copies what a widget shows, pixel for pixel at the screen's device pixels, into a 32-bit BMP
// file, replacing it. False with a reason in *error when the widget is missing or empty or the
// file cannot be written.
bool SaveContentPicture(QWidget *panel, const QString &path, QString *error = nullptr);
