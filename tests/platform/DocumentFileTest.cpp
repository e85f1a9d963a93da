#include "DocumentFile.h"

#include "CArchive.h"
#include "CUnprivilegedFileAccess.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class DocumentFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        // Others may pass through, so that a denied access is the file's or folder's own.
        QFile::setPermissions(m_folder.path(),
                              QFile::permissions(m_folder.path()) | QFile::ReadOther
                                  | QFile::ExeOther);
    }

    QString PathOf(const QString &name) const { return m_folder.filePath(name); }

    QTemporaryDir m_folder;
};

QByteArray SomeBytes(qsizetype size)
{
    QByteArray bytes;
    for (qsizetype index = 0; index < size; ++index)
        bytes.append(char(index * 7 % 256));
    return bytes;
}

} // namespace

TEST_F(DocumentFile, ReadsTheWholeFileExactly)
{
    const QByteArray content = SomeBytes(200000);
    ASSERT_TRUE(WriteFileBytes(PathOf(u"big.vnt"_s), content));
    QByteArray bytes;
    EXPECT_EQ(ReadDocumentFile(PathOf(u"big.vnt"_s), bytes), QString());
    EXPECT_EQ(bytes, content);
}

TEST_F(DocumentFile, MissingFileOrFolderCannotBeFound)
{
    const QString expected
        = u"gone.vnt\nCannot find this file.\nPlease verify that the correct path and file name are given."_s;
    QByteArray bytes("kept");
    EXPECT_EQ(ReadDocumentFile(PathOf(u"gone.vnt"_s), bytes), expected);
    EXPECT_EQ(ReadDocumentFile(PathOf(u"no folder/gone.vnt"_s), bytes), expected);
    EXPECT_EQ(bytes, QByteArray("kept"));
}

TEST_F(DocumentFile, DeniedReadIsReported)
{
    const QString path = PathOf(u"locked.vnt"_s);
    ASSERT_TRUE(WriteFileBytes(path, "content"));
    ASSERT_TRUE(QFile::setPermissions(path, {}));
    const CUnprivilegedFileAccess unprivileged;
    QByteArray bytes;
    EXPECT_EQ(ReadDocumentFile(path, bytes),
              u"Unable to read from locked.vnt, it is opened by someone else."_s);
}

TEST_F(DocumentFile, OtherReadFailuresAreGeneric)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkdir(u"folder.vnt"_s));
    QByteArray bytes;
    EXPECT_EQ(ReadDocumentFile(PathOf(u"folder.vnt"_s), bytes), u"Failed to open document."_s);
}

TEST_F(DocumentFile, WriteReplacesTheFile)
{
    const QString path = PathOf(u"session.vnt"_s);
    ASSERT_TRUE(WriteFileBytes(path, SomeBytes(5000)));
    EXPECT_EQ(WriteDocumentFile(path, "new"), QString());
    EXPECT_EQ(ReadFileBytes(path), QByteArray("new"));
    EXPECT_EQ(QDir(m_folder.path()).entryList(QDir::Files), QStringList {u"session.vnt"_s});
}

TEST_F(DocumentFile, WriteIntoAMissingFolderFails)
{
    EXPECT_EQ(WriteDocumentFile(PathOf(u"no folder/session.vnt"_s), "new"),
              u"Failed to save document."_s);
    EXPECT_FALSE(QFile::exists(PathOf(u"no folder"_s)));
}

TEST_F(DocumentFile, DeniedWriteLeavesTheOldFile)
{
    const QString folder = PathOf(u"read-only"_s);
    const QString path = folder + u"/session.vnt"_s;
    ASSERT_TRUE(WriteFileBytes(path, "old content"));
    ASSERT_TRUE(QFile::setPermissions(
        folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    {
        const CUnprivilegedFileAccess unprivileged;
        EXPECT_EQ(WriteDocumentFile(path, "new"),
                  u"Unable to write to session.vnt, it is read-only or opened by someone else."_s);
    }
    EXPECT_EQ(ReadFileBytes(path), QByteArray("old content"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList {u"session.vnt"_s});
    QFile::setPermissions(folder, QFile::permissions(folder) | QFile::WriteOwner);
}

TEST_F(DocumentFile, ArchiveDocumentsRoundTrip)
{
    const QString path = PathOf(u"numbers.bin"_s);
    EXPECT_EQ(SaveArchiveDocument(path, [](CArchive &archive) { archive.WriteUInt32(0x01020304); }),
              QString());
    EXPECT_EQ(ReadFileBytes(path), QByteArray::fromHex("04030201"));
    quint32 value = 0;
    EXPECT_EQ(
        LoadArchiveDocument(path, [&value](CArchive &archive) { value = archive.ReadUInt32(); }),
        QString());
    EXPECT_EQ(value, 0x01020304u);
}

TEST_F(DocumentFile, DataThatDoNotFitAreAnUnexpectedFormat)
{
    const QString path = PathOf(u"short.bin"_s);
    ASSERT_TRUE(WriteFileBytes(path, "abc"));
    EXPECT_EQ(LoadArchiveDocument(path, [](CArchive &archive) { archive.ReadUInt32(); }),
              u"Unexpected file format."_s);
}

TEST_F(DocumentFile, ArchiveLoadReportsFileErrorsFirst)
{
    bool called = false;
    EXPECT_EQ(
        LoadArchiveDocument(PathOf(u"gone.vns"_s), [&called](CArchive &) { called = true; }),
        u"gone.vns\nCannot find this file.\nPlease verify that the correct path and file name are given."_s);
    EXPECT_FALSE(called);
}
