#pragma once

#include <QIcon>

// The program's icon resources by id, drawn from the platform's standard icons; a null icon for
// an id without one.
QIcon LoadResIcon(int id);
