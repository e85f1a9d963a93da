#pragma once

#include <QByteArray>
#include <QString>

#include <ostream>

// Failures print Qt strings and byte arrays readably; bytes outside printable ASCII are escaped.
void PrintTo(const QString &text, std::ostream *out);
void PrintTo(const QByteArray &bytes, std::ostream *out);

// Reads a whole file; an empty array when it cannot be read.
QByteArray ReadFileBytes(const QString &path);
// Writes a whole file, creating its folder; false when that fails.
bool WriteFileBytes(const QString &path, const QByteArray &bytes);
