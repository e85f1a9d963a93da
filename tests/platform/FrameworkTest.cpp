// Documents, templates, command routing and the framework's checks, without any window.
#include "CArchive.h"
#include "CDocManager.h"
#include "CDocTemplate.h"
#include "CDocument.h"
#include "CNamedEvent.h"
#include "DialogValidation.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int ID_TEST = 1000;

class CNumberDoc : public CDocument
{
public:
    void Serialize(CArchive &archive) override
    {
        archive.Exchange(m_number);
        archive.Exchange(m_text);
    }
    bool OnNewDocument() override { return CDocument::OnNewDocument() && m_acceptNew; }

    qint32 m_number = 0;
    QString m_text;
    bool m_acceptNew = true;
};

class CTarget : public CCmdTarget
{
public:
    using CCmdTarget::OnCommand;
    using CCmdTarget::OnUpdate;
};

// Answers every message box from a script and records what was asked.
class ScriptedBoxes
{
public:
    explicit ScriptedBoxes(QList<int> answers = {})
        : m_answers(std::move(answers))
    {
        SetMessageBoxHandler([this](const MessageBoxRequest &request) {
            m_texts.append(request.text);
            return m_answers.isEmpty() ? IDOK : m_answers.takeFirst();
        });
    }
    ~ScriptedBoxes() { SetMessageBoxHandler({}); }

    QStringList m_texts;

private:
    QList<int> m_answers;
};

void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(CommandRouting, FirstHandlerAlongTheRouteRuns)
{
    CTarget view, document;
    QStringList ran;
    view.OnCommand(ID_TEST, [&] { ran << u"view"_s; });
    document.OnCommand(ID_TEST, [&] { ran << u"document"_s; });
    document.OnCommand(ID_TEST + 1, [&] { ran << u"document only"_s; });

    EXPECT_TRUE(RouteCommand({&view, nullptr, &document}, ID_TEST));
    EXPECT_TRUE(RouteCommand({&view, nullptr, &document}, ID_TEST + 1));
    EXPECT_FALSE(RouteCommand({&view, &document}, ID_TEST + 2));
    EXPECT_EQ(ran, (QStringList {u"view"_s, u"document only"_s}));
}

TEST(CommandRouting, UpdateHandlerDecidesAndItemsWithoutHandlersAreDisabled)
{
    CTarget view, application;
    application.OnCommand(ID_TEST, [] {});
    application.OnCommand(ID_TEST + 1, [] {});
    application.OnUpdate(ID_TEST + 1, [](CCmdUI &ui) {
        ui.Enable(false);
        ui.SetText(u"&Save Session Settings"_s);
        ui.SetCheck(true);
    });

    CCmdUI handled(ID_TEST);
    RouteUpdate({&view, &application}, handled);
    EXPECT_EQ(handled.m_enabled, true);

    CCmdUI updated(ID_TEST + 1);
    RouteUpdate({&view, &application}, updated);
    EXPECT_EQ(updated.m_enabled, false);
    EXPECT_EQ(updated.m_checked, true);
    EXPECT_EQ(updated.m_text, u"&Save Session Settings"_s);

    CCmdUI orphan(ID_TEST + 2);
    RouteUpdate({&view, &application}, orphan);
    EXPECT_EQ(orphan.m_enabled, false);
}

class DocumentTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_manager.AddDocTemplate(std::make_unique<CDocTemplate>(
            132, u"\nUntitled Number\nNumber\nNumber Files (*.num)\n.num\nTest.Number\nNumber"_s,
            [] { return new CNumberDoc; }));
        m_manager.AddDocTemplate(std::make_unique<CDocTemplate>(
            133, u"\nUntitled Other\nOther\nOther Files (*.oth)\n.oth\nTest.Other\nOther"_s,
            [] { return new CNumberDoc; }));
    }
    void TearDown() override
    {
        m_manager.CloseAllDocuments();
        FlushDeletes();
        SetFileDialogHandler({});
    }

    QString Path(const QString &name) const { return m_dir.filePath(name); }
    CNumberDoc *NewDocument(int position = 0)
    {
        return static_cast<CNumberDoc *>(m_manager.GetTemplate(position)->OpenDocumentFile({}));
    }

    QTemporaryDir m_dir;
    CDocManager m_manager;
};

TEST_F(DocumentTest, SavedDocumentOpensWithItsDataAndUnmodified)
{
    CNumberDoc *document = NewDocument();
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->GetTitle(), u"Untitled Number1"_s);
    document->m_number = 42;
    document->m_text = u"caf\u00e9"_s;
    document->SetModifiedFlag();
    ASSERT_TRUE(document->DoSave(Path(u"a.num"_s)));
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(document->GetPathName(), Path(u"a.num"_s));
    EXPECT_EQ(document->GetTitle(), u"a.num"_s);

    CArchive expected;
    expected.WriteInt32(42);
    expected.WriteString(u"caf\u00e9"_s);
    EXPECT_EQ(ReadFileBytes(Path(u"a.num"_s)), expected.Bytes());

    document->OnCloseDocument();
    FlushDeletes();
    auto *reopened = static_cast<CNumberDoc *>(m_manager.OpenDocumentFile(Path(u"a.num"_s)));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->m_number, 42);
    EXPECT_EQ(reopened->m_text, u"caf\u00e9"_s);
    EXPECT_FALSE(reopened->IsModified());
    EXPECT_EQ(reopened->GetDocTemplate(), m_manager.GetTemplate(0));
    EXPECT_EQ(m_manager.OpenDocumentFile(Path(u"a.num"_s)), reopened);
}

TEST_F(DocumentTest, ShortFileIsRefusedWithTheFrameworkText)
{
    ASSERT_TRUE(WriteFileBytes(Path(u"short.num"_s), QByteArray("\x01\x00", 2)));
    ScriptedBoxes boxes;
    EXPECT_EQ(m_manager.OpenDocumentFile(Path(u"short.num"_s)), nullptr);
    EXPECT_EQ(boxes.m_texts, QStringList {u"Unexpected file format."_s});
    FlushDeletes();
    EXPECT_TRUE(m_manager.Documents().isEmpty());
}

TEST_F(DocumentTest, TemplateIsChosenByExtension)
{
    CNumberDoc *document = NewDocument(1);
    ASSERT_TRUE(document->DoSave(Path(u"b.oth"_s)));
    document->OnCloseDocument();
    FlushDeletes();
    CDocument *reopened = m_manager.OpenDocumentFile(Path(u"b.oth"_s));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->GetDocTemplate(), m_manager.GetTemplate(1));
}

TEST_F(DocumentTest, FailedNewStepLeavesNoDocument)
{
    auto *docTemplate = new CDocTemplate(132, u"\nX\nX\n\n\n\n"_s, [] {
        auto *document = new CNumberDoc;
        document->m_acceptNew = false;
        return document;
    });
    m_manager.AddDocTemplate(std::unique_ptr<CDocTemplate>(docTemplate));
    EXPECT_EQ(docTemplate->OpenDocumentFile({}), nullptr);
    EXPECT_TRUE(docTemplate->GetDocuments().isEmpty());
}

TEST_F(DocumentTest, WindowThatCannotBeMadeGivesTheFrameworkText)
{
    bool closed = false;
    m_manager.GetTemplate(0)->SetFrameFactory([&closed](CDocument &document) {
        QObject::connect(&document, &CDocument::Closing, &document, [&closed] { closed = true; });
        return false;
    });
    ScriptedBoxes boxes;
    EXPECT_EQ(NewDocument(), nullptr);
    EXPECT_EQ(boxes.m_texts, QStringList {u"Failed to create empty document."_s});
    EXPECT_TRUE(closed);
    EXPECT_TRUE(m_manager.Documents().isEmpty());
}

TEST_F(DocumentTest, SaveModifiedFollowsTheAnswer)
{
    CNumberDoc *document = NewDocument();
    ASSERT_TRUE(document->DoSave(Path(u"c.num"_s)));
    document->m_number = 7;
    document->SetModifiedFlag();
    {
        ScriptedBoxes boxes({IDCANCEL, IDNO});
        EXPECT_FALSE(document->SaveModified());
        EXPECT_TRUE(document->SaveModified());
        EXPECT_EQ(boxes.m_texts.value(0), u"Save changes to "_s + Path(u"c.num"_s) + u'?');
    }
    CArchive unchanged;
    unchanged.WriteInt32(0);
    unchanged.WriteString(QString());
    EXPECT_EQ(ReadFileBytes(Path(u"c.num"_s)), unchanged.Bytes());
    {
        ScriptedBoxes boxes({IDYES});
        EXPECT_TRUE(document->SaveModified());
    }
    EXPECT_FALSE(document->IsModified());
    EXPECT_EQ(ReadFileBytes(Path(u"c.num"_s)).left(4), QByteArray("\x07\x00\x00\x00", 4));
}

TEST_F(DocumentTest, SaveAsAsksForANameAndCancelSavesNothing)
{
    CNumberDoc *document = NewDocument();
    QList<FileDialogRequest> requests;
    QString answer;
    SetFileDialogHandler([&](const FileDialogRequest &request) {
        requests.append(request);
        return answer;
    });
    EXPECT_FALSE(document->DoFileSave());
    ASSERT_EQ(requests.size(), 1);
    EXPECT_FALSE(requests[0].m_open);
    EXPECT_TRUE(requests[0].m_overwritePrompt);
    EXPECT_EQ(requests[0].m_defaultExt, u".num"_s);
    EXPECT_EQ(requests[0].m_filters, (QStringList {u"Number Files (*.num)"_s, u"*.num"_s}));

    answer = Path(u"d.num"_s);
    EXPECT_TRUE(document->DoFileSave());
    EXPECT_EQ(document->GetPathName(), answer);
    EXPECT_EQ(m_manager.RecentFiles().Items().value(0), answer);
}

TEST(FileDialogFilters, EachNameShowsThePatternsThatMatchHereOnce)
{
    FileDialogRequest request;
    request.m_filters = {u"Vantro Session Configuration (*.vnt)"_s,
                         u"*.vnt"_s,
                         u"Pages"_s,
                         u"*.htm;*.html"_s,
                         u"All Files (*.*)"_s,
                         u"*"_s};
    EXPECT_EQ(request.NameFilters(),
              u"Vantro Session Configuration (*.vnt);;"
              "Pages (*.htm *.html);;All Files (*)"_s);
}

TEST_F(DocumentTest, FileOpenOffersEveryTypeAndAllFiles)
{
    QStringList filters;
    SetFileDialogHandler([&](const FileDialogRequest &request) {
        filters = request.m_filters;
        return QString();
    });
    m_manager.OnFileOpen();
    EXPECT_EQ(filters,
              (QStringList {u"Number Files (*.num)"_s, u"*.num"_s, u"Other Files (*.oth)"_s,
                            u"*.oth"_s, u"All Files (*.*)"_s, u"*"_s}));
    EXPECT_TRUE(m_manager.Documents().isEmpty());
}

TEST(RecentFiles, NewestFirstWithoutRepeatsAtMostFourAndKeptInTheProfile)
{
    CRecentFileList list(CDocManager::kRecentFiles);
    for (const char *name : {"/a", "/b", "/c", "/a", "/d", "/e"})
        list.Add(QString::fromLatin1(name));
    const QStringList expected {u"/e"_s, u"/d"_s, u"/a"_s, u"/c"_s};
    EXPECT_EQ(list.Items(), expected);

    QTemporaryDir dir;
    QSettings settings(dir.filePath(u"profile.ini"_s), QSettings::IniFormat);
    list.WriteList(settings);
    EXPECT_EQ(settings.value(u"Recent File List/File1"_s).toString(), u"/e"_s);
    CRecentFileList loaded(CDocManager::kRecentFiles);
    loaded.ReadList(settings);
    EXPECT_EQ(loaded.Items(), expected);
}

TEST(DialogValidation, FrameworkTexts)
{
    int value = 3;
    EXPECT_EQ(ParseDialogInt(u" 12 "_s, value), QString());
    EXPECT_EQ(value, 12);
    EXPECT_EQ(ParseDialogInt(u"1x"_s, value), u"Please enter an integer."_s);
    EXPECT_EQ(ParseDialogInt(QString(), value), u"Please enter an integer."_s);
    EXPECT_EQ(value, 12);
    unsigned port = 80;
    EXPECT_EQ(ParseDialogUInt(u"-1"_s, port), u"Please enter a positive integer."_s);
    EXPECT_EQ(ParseDialogUInt(u"eighty"_s, port), u"Please enter a positive integer."_s);
    EXPECT_EQ(port, 80u);
    EXPECT_EQ(ParseDialogUInt(u"8080"_s, port), QString());
    EXPECT_EQ(port, 8080u);
    EXPECT_EQ(CheckDialogRange(0, 1, 9), u"Please enter an integer between 1 and 9."_s);
    EXPECT_EQ(CheckDialogRange(10, 1, 9), u"Please enter an integer between 1 and 9."_s);
    EXPECT_EQ(CheckDialogRange(1, 1, 9), QString());
    EXPECT_EQ(CheckDialogRange(9, 1, 9), QString());
}

TEST(NamedEvent, ResetRulesTimeOutAndSharingByName)
{
    auto automatic = CNamedEvent::Create(u"test_auto"_s, false, true);
    EXPECT_TRUE(automatic->Wait(0));
    EXPECT_FALSE(automatic->Wait(10));
    automatic->Set();
    EXPECT_TRUE(CNamedEvent::Create(u"test_auto"_s, true, false)->Wait(0));

    auto manual = CNamedEvent::Create(u"test_manual"_s, true, false);
    EXPECT_FALSE(manual->Wait(0));
    manual->Set();
    EXPECT_TRUE(manual->Wait(0));
    EXPECT_TRUE(manual->Wait(0));
    manual->Reset();
    EXPECT_FALSE(manual->Wait(0));
}

} // namespace
