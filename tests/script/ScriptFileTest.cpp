// The script file's bytes, its text export and the drag form of an entry.
#include "CArchive.h"
#include "CScriptEntry.h"
#include "TestSupport.h"

#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

std::optional<QList<CScriptEntry>> Load(const QByteArray &bytes)
{
    QList<CScriptEntry> entries {CScriptEntry(u"kept"_s, u"http://kept/"_s)};
    try {
        CArchive archive(bytes);
        SerializeScript(archive, entries);
    } catch (const CArchiveException &) {
        EXPECT_EQ(entries.size(), 1) << "a failed load leaves the list as it was";
        return std::nullopt;
    }
    return entries;
}

QByteArray Store(QList<CScriptEntry> entries)
{
    CArchive archive;
    SerializeScript(archive, entries);
    return archive.Bytes();
}

TEST(ScriptFile, BytesLoadAsTheyWereStoredAndMalformedOnesFail)
{
    const QString title300(300, u't');
    const struct
    {
        const char *name;
        QByteArray bytes;
        std::optional<QList<CScriptEntry>> entries; // none: the load fails
        bool stored; // storing the entries gives exactly these bytes
    } cases[] = {
        {"empty", Hex("00000000"), QList<CScriptEntry> {}, true},
        {"one entry", Hex("01000000 03616263 0378797a"), QList<CScriptEntry> {{u"abc"_s, u"xyz"_s}},
         true},
        {"long title", Hex("01000000 ff2c01") + title300.toLatin1() + Hex("0178"),
         QList<CScriptEntry> {{title300, u"x"_s}}, true},
        {"wide title", Hex("01000000 fffeff 02 e9006100 0178"),
         QList<CScriptEntry> {{u"\u00e9a"_s, u"x"_s}}, false},
        {"no count", Hex("010000"), std::nullopt, false},
        {"count beyond the data", Hex("02000000 03616263 0378797a"), std::nullopt, false},
        {"huge count", Hex("ffffffff 0161 0162"), std::nullopt, false},
        {"string past the end", Hex("01000000 05616263"), std::nullopt, false},
        {"wide string of odd length", Hex("01000000 fffeff 02 610062"), std::nullopt, false},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        const std::optional<QList<CScriptEntry>> loaded = Load(test.bytes);
        EXPECT_EQ(loaded, test.entries);
        if (test.stored) {
            EXPECT_EQ(Store(*test.entries), test.bytes);
        }
    }
}

TEST(ScriptFile, ExportWritesTabSeparatedLinesEndedWithCrLf)
{
    const QList<CScriptEntry> entries {{u"One\ttab"_s, u"http://a/1"_s}, {u"Two"_s, u"b"_s}};
    EXPECT_EQ(ScriptExportText(entries), QByteArray("One\ttab\thttp://a/1\r\nTwo\tb\r\n"));
    EXPECT_EQ(ScriptExportText({}), QByteArray());
}

TEST(ScriptEntry, DragsAsEntryAddressAndShortcutAndRefusesBadBytes)
{
    const CScriptEntry entry(u"Intro"_s, u"http://host/intro.htm"_s, 7);
    std::unique_ptr<QMimeData> data(entry.MakeMimeData());
    EXPECT_EQ(data->data(CScriptEntry::kEntryFormat),
              Hex("05") + "Intro" + Hex("15") + "http://host/intro.htm" + Hex("07000000"));
    EXPECT_EQ(data->data(CScriptEntry::kUrlFormat), QByteArray("http://host/intro.htm"));
    EXPECT_EQ(data->text(), u"http://host/intro.htm"_s);
    EXPECT_EQ(data->urls(), QList<QUrl> {QUrl(u"http://host/intro.htm"_s)});
    EXPECT_EQ(CScriptEntry::FromMimeData(data.get()), entry);

    QMimeData truncated;
    truncated.setData(CScriptEntry::kEntryFormat, Hex("05496e"));
    EXPECT_EQ(CScriptEntry::FromMimeData(&truncated), std::nullopt);
    QMimeData text;
    text.setText(u"http://host/"_s);
    EXPECT_EQ(CScriptEntry::FromMimeData(&text), std::nullopt);
}

} // namespace
