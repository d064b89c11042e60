#pragma once

#include <QIcon>

// The pictures of the windows live in the resource file kqnotebook.qrc under :/images/ and
// :/icons/ (resources/README.md lists them).
namespace KqResources
{

// Registers the pictures; a static library's resources are not registered by themselves.
// Call once in main() (and in tests) before the first picture is loaded; repeated calls are
// harmless.
void init();

// The application icon at every drawn size, for QApplication::setWindowIcon.
QIcon appIcon();

} // namespace KqResources
