#include "CSessionFile.h"

#include "CArchive.h"
#include "DocumentFile.h"

namespace {

void SerializeFavorites(CArchive &archive, QList<std::shared_ptr<CFavorite>> &favorites)
{
    if (archive.IsStoring()) {
        archive.WriteCount(favorites.size());
        for (const std::shared_ptr<CFavorite> &favorite : favorites)
            archive.WriteObject(favorite.get());
        return;
    }
    favorites.clear();
    for (quint32 count = archive.ReadCount(); count > 0; --count) {
        if (std::shared_ptr<CFavorite> favorite = archive.ReadObject<CFavorite>())
            favorites.append(std::move(favorite));
    }
}

void SerializeAddressHistory(CArchive &archive, QStringList &addresses)
{
    if (archive.IsStoring()) {
        archive.WriteCount(addresses.size());
        for (const QString &address : addresses)
            archive.WriteString(address);
        return;
    }
    for (quint32 count = archive.ReadCount(); count > 0; --count)
        addresses.append(archive.ReadString());
}

void SerializeScriptPaths(CArchive &archive, QStringList &paths)
{
    if (archive.IsStoring()) {
        // Untitled scripts have no path to reopen and are left out of the count as well.
        QStringList stored = paths;
        stored.removeAll(QString());
        archive.WriteUInt32(static_cast<quint32>(stored.size()));
        for (const QString &path : stored)
            archive.WriteString(path);
        return;
    }
    paths.clear();
    for (quint32 count = archive.ReadUInt32(); count > 0; --count)
        paths.append(archive.ReadString());
}

} // namespace

void CSessionFile::Serialize(CArchive &archive)
{
    m_options.Serialize(archive);
    SerializeFavorites(archive, m_favorites);
    SerializeAddressHistory(archive, m_addressHistory);
    SerializeScriptPaths(archive, m_scriptPaths);
}

QString CSessionFile::LoadSessionFile(const QString &path)
{
    CSessionFile loaded = *this;
    const QString error
        = LoadArchiveDocument(path, [&loaded](CArchive &archive) { loaded.Serialize(archive); });
    if (error.isEmpty())
        *this = std::move(loaded);
    return error;
}

QString CSessionFile::SaveSessionFile(const QString &path)
{
    return SaveArchiveDocument(path, [this](CArchive &archive) { Serialize(archive); });
}
