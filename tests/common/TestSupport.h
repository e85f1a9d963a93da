#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <ostream>

// Failures print Qt strings and byte arrays readably; bytes outside printable ASCII are escaped.
void PrintTo(const QString &text, std::ostream *out);
void PrintTo(const QByteArray &bytes, std::ostream *out);

// Reads a whole file; an empty array when it cannot be read.
QByteArray ReadFileBytes(const QString &path);
// Writes a whole file, creating its folder; false when that fails.
bool WriteFileBytes(const QString &path, const QByteArray &bytes);

// Runs the event loop until the condition holds; false when it still does not after the time.
bool WaitFor(const std::function<bool()> &condition, int timeoutMs = 10000);
