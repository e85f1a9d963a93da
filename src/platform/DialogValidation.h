#pragma once

#include <QString>

// The framework's checks of dialog fields. Each returns an empty string when the text is
// acceptable and otherwise the message the operator sees.

// A signed integer, blanks around it allowed: "Please enter an integer.".
QString ParseDialogInt(const QString &text, int &value);
// An unsigned integer: "Please enter a positive integer.".
QString ParseDialogUInt(const QString &text, unsigned &value);
// "Please enter an integer between %1 and %2." outside the bounds.
QString CheckDialogRange(int value, int minimum, int maximum);
