#include "ContentType.h"

#include <QHash>
#include <QMimeDatabase>

using namespace Qt::StringLiterals;

namespace {

QString LookUp(const QString &extension)
{
    const QString lower = extension.toLower();
    if (lower == ".htm"_L1 || lower == ".html"_L1)
        return u"text/html"_s;
    if (!extension.startsWith(u'.') || extension.size() < 2)
        return {};
    const QMimeDatabase database;
    const QMimeType type
        = database.mimeTypeForFile(u"x"_s + extension, QMimeDatabase::MatchExtension);
    // The generic default type means that nothing is registered for this extension.
    if (!type.isValid() || type.isDefault())
        return {};
    return type.name();
}

} // namespace

QString ContentTypeForExtension(const QString &extension)
{
    static QHash<QString, QString> cache;
    auto found = cache.constFind(extension);
    if (found == cache.cend())
        found = cache.insert(extension, LookUp(extension));
    return *found;
}
