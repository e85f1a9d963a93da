#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class CArchive;
class QMimeData;

// One titled address of a presentation script. The source window is set only while the entry is
// dragged: the identity of the script list it came from, 0 for anything else.
class CScriptEntry
{
public:
    // The clipboard formats of a dragged entry: the entry itself, and the address for programs
    // that take internet shortcuts.
    static const QString kEntryFormat;
    static const QString kUrlFormat;

    CScriptEntry() = default;
    CScriptEntry(const QString &title, const QString &address, quint32 sourceWindow = 0);

    // The drag form: title, address and the source window; the direction follows the archive.
    void Serialize(CArchive &archive);

    // Offers the entry's drag form, its address as plain text, as "UniformResourceLocator"
    // and as a URL list. The caller owns the result.
    QMimeData *MakeMimeData() const;
    // The entry a drag carries; none when it carries no entry or its bytes do not fit.
    static std::optional<CScriptEntry> FromMimeData(const QMimeData *formats);

    bool operator==(const CScriptEntry &) const = default;

    QString m_title;
    QString m_address;
    quint32 m_sourceWindow = 0;
};

// The script file (".vns"): a 32-bit count, then each entry's title and address. The direction
// follows the archive; loading replaces the list and throws for data that run out.
void SerializeScript(CArchive &archive, QList<CScriptEntry> &entries);

// The text export: "title\taddress" per entry, each line ended with CR LF, as a text-mode file
// writes it (a line feed inside a title gets its carriage return too).
QByteArray ScriptExportText(const QList<CScriptEntry> &entries);
