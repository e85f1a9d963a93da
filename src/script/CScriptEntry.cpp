#include "CScriptEntry.h"

#include "CArchive.h"
#include "Cp1252.h"

#include <QMimeData>
#include <QUrl>

using namespace Qt::StringLiterals;

const QString CScriptEntry::kEntryFormat = u"VN_ScriptEntry"_s;
const QString CScriptEntry::kUrlFormat = u"UniformResourceLocator"_s;

CScriptEntry::CScriptEntry(const QString &title, const QString &address, quint32 sourceWindow)
    : m_title(title)
    , m_address(address)
    , m_sourceWindow(sourceWindow)
{ }

void CScriptEntry::Serialize(CArchive &archive)
{
    archive.Exchange(m_title);
    archive.Exchange(m_address);
    archive.Exchange(m_sourceWindow);
}

QMimeData *CScriptEntry::MakeMimeData() const
{
    CArchive archive;
    CScriptEntry(*this).Serialize(archive);
    auto *formats = new QMimeData;
    formats->setData(kEntryFormat, archive.Bytes());
    formats->setData(kUrlFormat, m_address.toUtf8());
    formats->setText(m_address);
    formats->setUrls({QUrl(m_address)});
    return formats;
}

std::optional<CScriptEntry> CScriptEntry::FromMimeData(const QMimeData *formats)
{
    if (!formats || !formats->hasFormat(kEntryFormat))
        return std::nullopt;
    try {
        CArchive archive(formats->data(kEntryFormat));
        CScriptEntry entry;
        entry.Serialize(archive);
        return entry;
    } catch (const CArchiveException &) {
        return std::nullopt;
    }
}

void SerializeScript(CArchive &archive, QList<CScriptEntry> &entries)
{
    if (archive.IsStoring()) {
        archive.WriteUInt32(static_cast<quint32>(entries.size()));
        for (const CScriptEntry &entry : std::as_const(entries)) {
            archive.WriteString(entry.m_title);
            archive.WriteString(entry.m_address);
        }
        return;
    }
    // Read into a list of its own, so that a file that ends early leaves nothing half loaded.
    // Every entry takes at least two bytes, so a count beyond the data ends at the data's end.
    QList<CScriptEntry> loaded;
    for (quint32 count = archive.ReadUInt32(); count > 0; --count) {
        CScriptEntry entry;
        entry.m_title = archive.ReadString();
        entry.m_address = archive.ReadString();
        loaded.append(std::move(entry));
    }
    entries = std::move(loaded);
}

QByteArray ScriptExportText(const QList<CScriptEntry> &entries)
{
    QString text;
    for (const CScriptEntry &entry : entries)
        text += entry.m_title + u'\t' + entry.m_address + u'\n';
    text.replace(u"\n"_s, u"\r\n"_s);
    return ToCp1252(text);
}
