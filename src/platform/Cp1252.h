#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Windows-1252, the 8-bit code page of the program's files. The five bytes without a character
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the same value, so every
// byte decodes and every decoded text encodes back to the same bytes.

// True when every character of the text has a byte in the code page.
bool CanEncodeCp1252(QStringView text);
// The text in the code page; a character without a byte becomes '?'.
QByteArray ToCp1252(QStringView text);
QString FromCp1252(QByteArrayView bytes);
