#pragma once

#include <QString>

// The program's string resources by id; an empty string for an id without one.
QString LoadResString(int id);
