#pragma once

#include <QIcon>

// The tool bar's image of a command: the desktop theme's icon, else a bundled one of the
// toolkit's; a null icon for a command without an image.
QIcon CommandIcon(int id);

// The program's own icon, for every window and for the desktop.
QIcon ApplicationIcon();
