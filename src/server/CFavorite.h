#pragma once

#include "CRuntimeClass.h"

#include <QString>

class CArchive;

// One of the operator's bookmarks: a titled web address kept with the session.
class CFavorite
{
public:
    static constexpr CRuntimeClass s_runtimeClass {"CFavorite", 0x20};

    CFavorite() = default;
    CFavorite(const QString &title, const QString &address);

    // Writes or reads the title and then the address; the direction follows the archive.
    void Serialize(CArchive &archive);

    QString m_title;
    QString m_address;
};
