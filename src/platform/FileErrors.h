#pragma once

#include <QString>

// The framework's wording for a file error given as an errno value, with the file name in it,
// such as "Access to /srv/VS1.2.3.4.htm was denied.".
QString FileErrorText(int error, const QString &fileName);
