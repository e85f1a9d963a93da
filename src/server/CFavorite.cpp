#include "CFavorite.h"

#include "CArchive.h"

CFavorite::CFavorite(const QString &title, const QString &address)
    : m_title(title)
    , m_address(address)
{ }

void CFavorite::Serialize(CArchive &archive)
{
    archive.Exchange(m_title);
    archive.Exchange(m_address);
}
