#pragma once

#include <QString>

// The content type registered for a file extension (".htm", with its dot), or an empty string
// when none is registered. ".htm" and ".html" give exactly "text/html". Answers are cached, so
// a lookup per request is cheap. Call from one thread at a time.
QString ContentTypeForExtension(const QString &extension);
