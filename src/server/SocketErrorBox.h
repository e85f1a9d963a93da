#pragma once

#include <QString>

// Tells the operator about a connection that failed while its request was being received.
// Peers can fail many connections at once, so while one such box is waiting or open, further
// reports are dropped. The box is shown once the current notification is over.
void ReportSocketError(const QString &text);
