#pragma once

#include <QByteArray>

// Whether the text a launcher sent is an address the agent may open: "http://", a dotted IPv4
// address or a host name, an optional port, and an optional path of plain address characters.
// Nothing else gets near the program that opens it.
bool IsLaunchAddress(const QByteArray &text);
