#pragma once

#include "CFavorite.h"
#include "CSvrOptions.h"

#include <QList>
#include <QStringList>

#include <memory>

class CArchive;

// The content of a session file (".vnt"): the settings, the favorites, the addresses the
// operator typed and the paths of the open scripts, in that order and without a header.
class CSessionFile
{
public:
    // Writes or reads the four blocks; the direction follows the archive. Loading replaces the
    // favorites and script paths, appends to the address history and skips empty favorite slots.
    // Only script paths that are not empty are stored.
    void Serialize(CArchive &archive);

    // Each returns the operator's text for a failure, or an empty string when it worked. A
    // failed load leaves this record unchanged; a failed save leaves the file unchanged.
    QString LoadSessionFile(const QString &path);
    QString SaveSessionFile(const QString &path);

    CSvrOptions m_options;
    QList<std::shared_ptr<CFavorite>> m_favorites;
    QStringList m_addressHistory;
    QStringList m_scriptPaths;
};
