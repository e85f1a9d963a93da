#include "CSessionFile.h"

#include "CArchive.h"

#include "CUnprivilegedFileAccess.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

// A text of fewer than 255 characters as stored: its length byte, then its bytes.
QByteArray Short(const QByteArray &text)
{
    return char(text.size()) + text;
}

// The settings of a new session whose root folder is "/srv/vantro".
QByteArray DefaultSettingsBytes()
{
    return Short("/srv/vantro") + Short("\\logon.htm") + Short("\\busy.htm") + Short("\\logoff.htm")
        + Short("\\welcome.htm") + Hex("50000000 05000000 05000000") + Short("FALSE")
        + Short("FALSE") + Hex("00000000") + Short("Vantro.log") + Short("192.0.2.10")
        + Short("cgi-bin/commandcenter_DEV.cgi") + Hex("00000000 00000000") + Hex("00")
        + Short("backpage.gif");
}

// Empty address history and no scripts.
QByteArray EmptyTailBytes()
{
    return Hex("0000 00000000");
}

QByteArray FavoriteRecordBytes(const char *className, const char *schema)
{
    return Hex("FFFF") + Hex(schema) + char(qstrlen(className)) + '\0' + className;
}

CSvrOptions OptionsWithEveryFieldChanged()
{
    CSvrOptions options;
    options.m_callCenterMode = 1;
    options.m_callCenterOption = -3;
    options.m_callCenterPath = u"cgi-bin/other.cgi"_s;
    options.m_callCenterServer = u"192.0.2.77"_s;
    options.m_operatorName = u"\u0391\u03BD\u03BD\u03B1 M\u00FCller"_s;
    options.m_playEveryFrame = u"TRUE"_s;
    options.m_autoPlay = u"YES"_s;
    options.m_logFileName = u"activity \u20AC.log"_s;
    options.m_logEnabled = 1;
    options.m_downloadDelaySecs = 9;
    options.m_refreshSecs = 2;
    options.m_busyPage = u"\\full.htm"_s;
    options.m_logoffPage = u"\\bye.htm"_s;
    options.m_logonPage = u"\\start.htm"_s;
    options.m_welcomePage = u"\\hello.htm"_s;
    options.m_port = 8080;
    options.m_rootFolder = u"/srv/"_s + QString(300, u'r');
    options.m_backgroundImage = u"paper.png"_s;
    return options;
}

void ExpectSameOptions(const CSvrOptions &actual, const CSvrOptions &expected)
{
    EXPECT_EQ(actual.m_callCenterMode, expected.m_callCenterMode);
    EXPECT_EQ(actual.m_callCenterOption, expected.m_callCenterOption);
    EXPECT_EQ(actual.m_callCenterPath, expected.m_callCenterPath);
    EXPECT_EQ(actual.m_callCenterServer, expected.m_callCenterServer);
    EXPECT_EQ(actual.m_operatorName, expected.m_operatorName);
    EXPECT_EQ(actual.m_playEveryFrame, expected.m_playEveryFrame);
    EXPECT_EQ(actual.m_autoPlay, expected.m_autoPlay);
    EXPECT_EQ(actual.m_logFileName, expected.m_logFileName);
    EXPECT_EQ(actual.m_logEnabled, expected.m_logEnabled);
    EXPECT_EQ(actual.m_downloadDelaySecs, expected.m_downloadDelaySecs);
    EXPECT_EQ(actual.m_refreshSecs, expected.m_refreshSecs);
    EXPECT_EQ(actual.m_busyPage, expected.m_busyPage);
    EXPECT_EQ(actual.m_logoffPage, expected.m_logoffPage);
    EXPECT_EQ(actual.m_logonPage, expected.m_logonPage);
    EXPECT_EQ(actual.m_welcomePage, expected.m_welcomePage);
    EXPECT_EQ(actual.m_port, expected.m_port);
    EXPECT_EQ(actual.m_rootFolder, expected.m_rootFolder);
    EXPECT_EQ(actual.m_backgroundImage, expected.m_backgroundImage);
}

class SessionFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        CSvrOptions::SetDefaultRootFolder(u"/srv/vantro"_s);
    }

    QString PathOf(const QString &name) const { return m_folder.filePath(name); }

    // Writes the bytes to a file and loads it into the record; returns the failure text.
    QString LoadBytes(const QByteArray &bytes, CSessionFile &session) const
    {
        const QString path = PathOf(u"sample.vnt"_s);
        if (!WriteFileBytes(path, bytes))
            return u"sample file not written"_s;
        return session.LoadSessionFile(path);
    }

    QTemporaryDir m_folder;
};

} // namespace

TEST(SvrOptions, CopyFromTakesEveryField)
{
    CSvrOptions copy;
    copy.CopyFrom(OptionsWithEveryFieldChanged());
    ExpectSameOptions(copy, OptionsWithEveryFieldChanged());
}

TEST_F(SessionFile, NewSessionHasTheDefaultBytes)
{
    CSessionFile session;
    EXPECT_EQ(session.SaveSessionFile(PathOf(u"new.vnt"_s)), QString());
    EXPECT_EQ(ReadFileBytes(PathOf(u"new.vnt"_s)),
              DefaultSettingsBytes() + Hex("0000") + EmptyTailBytes());
}

TEST_F(SessionFile, SettingsAreStoredInFileOrder)
{
    CSessionFile session;
    session.m_options = OptionsWithEveryFieldChanged();
    EXPECT_EQ(session.SaveSessionFile(PathOf(u"settings.vnt"_s)), QString());
    const QByteArray settings = Hex("FF 3101") + "/srv/" + QByteArray(300, 'r')
        + Short("\\start.htm") + Short("\\full.htm") + Short("\\bye.htm") + Short("\\hello.htm")
        + Hex("901F0000 02000000 09000000") + Short("TRUE") + Short("YES") + Hex("01000000")
        + Short("activity \x80.log") + Short("192.0.2.77") + Short("cgi-bin/other.cgi")
        + Hex("FDFFFFFF 01000000")
        + Hex("FF FEFF 0B 9103 BD03 BD03 B103 2000 4D00 FC00 6C00 6C00 6500 7200")
        + Short("paper.png");
    EXPECT_EQ(ReadFileBytes(PathOf(u"settings.vnt"_s)), settings + Hex("0000") + EmptyTailBytes());
}

TEST_F(SessionFile, FavoritesShareOneClassRecord)
{
    CSessionFile session;
    session.m_favorites = {std::make_shared<CFavorite>(u"abc"_s, u"http://a/"_s),
                           std::make_shared<CFavorite>(u"Caf\u00E9"_s, u"http://b/"_s)};
    EXPECT_EQ(session.SaveSessionFile(PathOf(u"favorites.vnt"_s)), QString());
    EXPECT_EQ(ReadFileBytes(PathOf(u"favorites.vnt"_s)),
              DefaultSettingsBytes() + Hex("0200 FFFF 2000 0900") + "CFavorite" + Short("abc")
                  + Short("http://a/") + Hex("0180") + Short("Caf\xE9") + Short("http://b/")
                  + EmptyTailBytes());
}

TEST_F(SessionFile, HistoryAndScriptsFollowTheFavorites)
{
    CSessionFile session;
    session.m_addressHistory = {u"http://one/"_s, u"two"_s};
    session.m_scriptPaths = {u"/home/op/a.vns"_s, QString(), u"/home/op/b.vns"_s};
    EXPECT_EQ(session.SaveSessionFile(PathOf(u"lists.vnt"_s)), QString());
    // The untitled script in the middle is neither written nor counted.
    EXPECT_EQ(ReadFileBytes(PathOf(u"lists.vnt"_s)),
              DefaultSettingsBytes() + Hex("0000") + Hex("0200") + Short("http://one/")
                  + Short("two") + Hex("02000000") + Short("/home/op/a.vns")
                  + Short("/home/op/b.vns"));
}

TEST_F(SessionFile, EverythingSurvivesARoundTrip)
{
    CSessionFile saved;
    saved.m_options = OptionsWithEveryFieldChanged();
    saved.m_favorites = {std::make_shared<CFavorite>(u"\u65B0\u805E"_s, u"http://news/"_s),
                         std::make_shared<CFavorite>(u"Docs"_s, u"http://docs/\u20AC"_s)};
    saved.m_addressHistory = {u"http://one/"_s, u"http://\u03B1/"_s};
    saved.m_scriptPaths = {u"/home/op/a.vns"_s, u"/home/op/\u8A9E.vns"_s};
    ASSERT_EQ(saved.SaveSessionFile(PathOf(u"full.vnt"_s)), QString());

    CSessionFile loaded;
    ASSERT_EQ(loaded.LoadSessionFile(PathOf(u"full.vnt"_s)), QString());
    ExpectSameOptions(loaded.m_options, saved.m_options);
    ASSERT_EQ(loaded.m_favorites.size(), 2);
    EXPECT_EQ(loaded.m_favorites[0]->m_title, saved.m_favorites[0]->m_title);
    EXPECT_EQ(loaded.m_favorites[0]->m_address, saved.m_favorites[0]->m_address);
    EXPECT_EQ(loaded.m_favorites[1]->m_title, saved.m_favorites[1]->m_title);
    EXPECT_EQ(loaded.m_favorites[1]->m_address, saved.m_favorites[1]->m_address);
    EXPECT_EQ(loaded.m_addressHistory, saved.m_addressHistory);
    EXPECT_EQ(loaded.m_scriptPaths, saved.m_scriptPaths);

    // Saving what was loaded gives the same file again.
    ASSERT_EQ(loaded.SaveSessionFile(PathOf(u"again.vnt"_s)), QString());
    EXPECT_EQ(ReadFileBytes(PathOf(u"again.vnt"_s)), ReadFileBytes(PathOf(u"full.vnt"_s)));
}

TEST_F(SessionFile, LoadingReplacesFavoritesAndScriptsAndAppendsHistory)
{
    CSessionFile session;
    session.m_favorites = {std::make_shared<CFavorite>(u"old"_s, u"http://old/"_s)};
    session.m_addressHistory = {u"typed before"_s};
    session.m_scriptPaths = {u"/old.vns"_s};
    const QByteArray bytes = DefaultSettingsBytes() + Hex("0100 FFFF 2000 0900") + "CFavorite"
        + Short("new") + Short("http://new/") + Hex("0100") + Short("typed in file")
        + Hex("01000000") + Short("/new.vns");
    ASSERT_EQ(LoadBytes(bytes, session), QString());
    ASSERT_EQ(session.m_favorites.size(), 1);
    EXPECT_EQ(session.m_favorites[0]->m_title, u"new"_s);
    EXPECT_EQ(session.m_addressHistory, (QStringList {u"typed before"_s, u"typed in file"_s}));
    EXPECT_EQ(session.m_scriptPaths, QStringList {u"/new.vns"_s});
}

TEST_F(SessionFile, EmptyFavoriteSlotsAreSkipped)
{
    CSessionFile session;
    const QByteArray bytes = DefaultSettingsBytes() + Hex("0400 0000 FFFF 2000 0900") + "CFavorite"
        + Short("one") + Short("http://1/") + Hex("0000 0180") + Short("two") + Short("http://2/")
        + EmptyTailBytes();
    ASSERT_EQ(LoadBytes(bytes, session), QString());
    ASSERT_EQ(session.m_favorites.size(), 2);
    EXPECT_EQ(session.m_favorites[0]->m_title, u"one"_s);
    EXPECT_EQ(session.m_favorites[1]->m_title, u"two"_s);
}

TEST_F(SessionFile, EveryCutFileIsAnUnexpectedFormat)
{
    CSessionFile saved;
    saved.m_options = OptionsWithEveryFieldChanged();
    saved.m_favorites = {std::make_shared<CFavorite>(u"t"_s, u"a"_s)};
    saved.m_addressHistory = {u"h"_s};
    saved.m_scriptPaths = {u"/s.vns"_s};
    ASSERT_EQ(saved.SaveSessionFile(PathOf(u"full.vnt"_s)), QString());
    const QByteArray full = ReadFileBytes(PathOf(u"full.vnt"_s));
    ASSERT_FALSE(full.isEmpty());

    for (qsizetype size = 0; size < full.size(); ++size) {
        CSessionFile session;
        ASSERT_EQ(LoadBytes(full.left(size), session), u"Unexpected file format."_s)
            << "cut at " << size;
        // Nothing of the cut file reaches the record.
        EXPECT_EQ(session.m_options.m_port, 80);
        EXPECT_EQ(session.m_options.m_rootFolder, u"/srv/vantro"_s);
        EXPECT_TRUE(session.m_favorites.isEmpty());
        EXPECT_TRUE(session.m_addressHistory.isEmpty());
    }
}

TEST_F(SessionFile, FavoritesOfAnotherClassOrSchemaAreAnUnexpectedFormat)
{
    const QByteArray fields = Short("t") + Short("a");
    const QByteArray cases[] = {
        Hex("0100") + FavoriteRecordBytes("CFavorita", "2000") + fields,
        Hex("0100") + FavoriteRecordBytes("CScriptEntry", "2000") + fields,
        Hex("0100") + FavoriteRecordBytes("CFavorite", "2100") + fields,
        Hex("0100") + FavoriteRecordBytes("CFavorite", "1F00") + fields,
    };
    for (const QByteArray &block : cases) {
        CSessionFile session;
        EXPECT_EQ(LoadBytes(DefaultSettingsBytes() + block + EmptyTailBytes(), session),
                  u"Unexpected file format."_s)
            << block.toHex(' ').constData();
    }
}

TEST_F(SessionFile, ReferencesOutOfRangeAreAnUnexpectedFormat)
{
    const QByteArray first = FavoriteRecordBytes("CFavorite", "2000") + Short("t") + Short("a");
    const QByteArray cases[] = {
        Hex("0200") + first + Hex("0300"), // object 3 does not exist yet
        Hex("0200") + first + Hex("0280") + Short("t") + Short("a"), // index 2 is no class
        Hex("0100 0180") + Short("t") + Short("a"), // no class read yet
        Hex("0100 FF7F 09000000"),
    };
    for (const QByteArray &block : cases) {
        CSessionFile session;
        EXPECT_EQ(LoadBytes(DefaultSettingsBytes() + block + EmptyTailBytes(), session),
                  u"Unexpected file format."_s)
            << block.toHex(' ').constData();
    }
}

TEST_F(SessionFile, DamagedBytesLoadOrFailCleanly)
{
    CSessionFile saved;
    saved.m_options = OptionsWithEveryFieldChanged();
    saved.m_favorites = {std::make_shared<CFavorite>(u"t"_s, u"a"_s),
                         std::make_shared<CFavorite>(u"u"_s, u"b"_s)};
    saved.m_addressHistory = {u"h"_s};
    saved.m_scriptPaths = {u"/s.vns"_s};
    CArchive storing;
    saved.Serialize(storing);
    const QByteArray full = storing.Bytes();

    std::mt19937 random(1234);
    int failures = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray damaged = full;
        for (int change = 0; change < 3; ++change)
            damaged[qsizetype(random() % damaged.size())] = char(random() % 256);
        CArchive loading(damaged);
        CSessionFile session;
        try {
            session.Serialize(loading);
        } catch (const CArchiveException &) {
            ++failures;
        }
    }
    // Most damage is noticed; none of it reads outside the data (the sanitizer build checks).
    EXPECT_GT(failures, 0);
}

TEST_F(SessionFile, MissingFileCannotBeFound)
{
    CSessionFile session;
    EXPECT_EQ(
        session.LoadSessionFile(PathOf(u"absent.vnt"_s)),
        u"absent.vnt\nCannot find this file.\nPlease verify that the correct path and file name are given."_s);
}

TEST_F(SessionFile, UnreadableFileIsReported)
{
    const QString path = PathOf(u"locked.vnt"_s);
    ASSERT_TRUE(WriteFileBytes(path, DefaultSettingsBytes() + Hex("0000") + EmptyTailBytes()));
    ASSERT_TRUE(QFile::setPermissions(path, {}));
    CSessionFile session;
    const CUnprivilegedFileAccess unprivileged;
    EXPECT_EQ(session.LoadSessionFile(path),
              u"Unable to read from locked.vnt, it is opened by someone else."_s);
}

TEST_F(SessionFile, FailedSavesReportAndKeepTheOldFile)
{
    CSessionFile session;
    session.m_addressHistory = {u"http://changed/"_s};
    EXPECT_EQ(session.SaveSessionFile(PathOf(u"missing folder/s.vnt"_s)),
              u"Failed to save document."_s);

    const QString folder = PathOf(u"locked"_s);
    const QString path = folder + u"/s.vnt"_s;
    ASSERT_TRUE(WriteFileBytes(path, "previous session"));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    {
        const CUnprivilegedFileAccess unprivileged;
        EXPECT_EQ(session.SaveSessionFile(path),
                  u"Unable to write to s.vnt, it is read-only or opened by someone else."_s);
    }
    EXPECT_EQ(ReadFileBytes(path), QByteArray("previous session"));
    QFile::setPermissions(folder, QFile::permissions(folder) | QFile::WriteOwner);
}

TEST_F(SessionFile, NumbersOutsideWhatPropertiesAcceptsAreBroughtToTheNearestBound)
{
    struct Case
    {
        qint32 port, refresh, delay, logEnabled;
        qint32 expectedPort, expectedRefresh, expectedDelay, expectedLogEnabled;
    };
    const Case cases[] = {
        {80, 0, 0, 0, 80, 1, 1, 0},
        {-1, -5, -2147483647 - 1, -1, 0, 1, 1, 0},
        {70000, 10, 11, 2, 65535, 9, 10, 1},
        {65535, 9, 10, 1, 65535, 9, 10, 1},
    };
    for (const Case &c : cases) {
        CSessionFile saved;
        saved.m_options = OptionsWithEveryFieldChanged();
        saved.m_options.m_port = c.port;
        saved.m_options.m_refreshSecs = c.refresh;
        saved.m_options.m_downloadDelaySecs = c.delay;
        saved.m_options.m_logEnabled = c.logEnabled;
        ASSERT_EQ(saved.SaveSessionFile(PathOf(u"range.vnt"_s)), QString());
        CSessionFile loaded;
        ASSERT_EQ(loaded.LoadSessionFile(PathOf(u"range.vnt"_s)), QString());
        CSvrOptions expected = OptionsWithEveryFieldChanged();
        expected.m_port = c.expectedPort;
        expected.m_refreshSecs = c.expectedRefresh;
        expected.m_downloadDelaySecs = c.expectedDelay;
        expected.m_logEnabled = c.expectedLogEnabled;
        SCOPED_TRACE(c.port);
        ExpectSameOptions(loaded.m_options, expected);
    }
}
