// Script windows in the whole console: a talk prepared through the menus, saved, exported and
// reopened with its session; entries pushed with Push Next and Push Selected; entries dragged
// between scripts and onto the activity list; and the favorites' menu and dialog.
#include "ScriptWindow.h"
#include "CArchive.h"
#include "CControlBar.h"
#include "CDocTemplate.h"
#include "CDozoZedDoc.h"
#include "CDozoZedView.h"
#include "CMainFrame.h"
#include "CPushDispatcher.h"
#include "CScriptDoc.h"
#include "CScriptFrame.h"
#include "CScriptList.h"
#include "CScriptView.h"
#include "CSelectFavoriteDlg.h"
#include "CSessionFile.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CVantroTree.h"
#include "ConsoleFixture.h"
#include "ResourceIds.h"
#include "ServerLinks.h"
#include "TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMimeData>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

class ScriptWindows : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        m_app->DocManager().SetDocTemplate(1, MakeScriptTemplate());
        UseRecordingOperator(m_operator);
    }
    void TearDown() override
    {
        AppFixture::TearDown();
        g_favorites.clear();
    }

    void StartSession()
    {
        const int port = FreePort();
        OnNextSheet([port](CSessionSheet &sheet) {
            sheet.m_pServerPage->m_port = static_cast<unsigned>(port);
        });
        Run(ID_NEW_SESSION);
        ASSERT_NE(g_pSessionDoc, nullptr);
    }
    // The newest script window, made active so that the commands reach it.
    CScriptFrame *NewScript(const QStringList &addresses = {})
    {
        Run(ID_NEW_SCRIPT);
        const QList<QMdiSubWindow *> windows = g_pMainFrame->MdiArea()->subWindowList();
        auto *frame = windows.isEmpty() ? nullptr : dynamic_cast<CScriptFrame *>(windows.last());
        if (!frame)
            return nullptr;
        for (const QString &address : addresses)
            Document(frame).AddEntry(CScriptEntry(address.section(u'/', -1), address));
        return frame;
    }
    static CScriptDoc &Document(CScriptFrame *frame) { return frame->View()->Document(); }
    static void Activate(CScriptFrame *frame)
    {
        g_pMainFrame->MdiArea()->setActiveSubWindow(frame);
    }
    static void Select(CScriptFrame *frame, const QList<int> &rows)
    {
        Activate(frame);
        CScriptList *list = frame->View()->List();
        list->clearSelection();
        for (const int row : rows)
            list->topLevelItem(row)->setSelected(true);
    }
    // The next Add Document dialog gets the title and address, then OK.
    void OnNextEntryDialog(const QString &title, const QString &address)
    {
        OnNextDialog([title, address](CDialog &dialog) {
            SetControlText(dialog, IDC_DOCUMENT_TITLE, title);
            SetControlText(dialog, IDC_DOCUMENT_URL, address);
            return PressOK(dialog);
        });
    }
    QStringList ScriptItems() const { return ChildTexts(AppTree()->ScriptsItem()); }

    CRecordingOperator m_operator;
};

TEST_F(ScriptWindows, ATalkIsPreparedSavedExportedAndReopenedWithItsSession)
{
    EXPECT_FALSE(Enabled(ID_NEW_SCRIPT)) << "New Script waits for a session";
    StartSession();
    EXPECT_TRUE(Enabled(ID_NEW_SCRIPT));
    CScriptFrame *frame = NewScript();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(ScriptItems(), QStringList {u"Untitled Script1"_s});
    CScriptDoc &script = Document(frame);
    EXPECT_FALSE(Enabled(ID_EXPORT_SCRIPT));
    EXPECT_FALSE(Enabled(ID_FILE_SAVE));
    EXPECT_EQ(g_pMainFrame->FindAction(ID_FILE_SAVE)->text(), u"&Save Script"_s);

    // The case-sensitive rule: "HTTP://" gets "http://" in front as well.
    OnNextEntryDialog(u"One\ttab"_s, u"HTTP://host/1"_s);
    Run(ID_ADD_ENTRY);
    OnNextEntryDialog(u"Two"_s, u"host/2"_s);
    Run(ID_ADD_ENTRY);
    ASSERT_EQ(script.EntryCount(), 2);
    EXPECT_EQ(script.GetEntry(0)->m_address, u"http://HTTP://host/1"_s);
    EXPECT_TRUE(script.IsModified());
    EXPECT_EQ(frame->View()->List()->topLevelItem(1)->text(CScriptList::UrlColumn),
              u"http://host/2"_s);

    // Properties takes the address as typed and marks the script only for a change.
    Select(frame, {1});
    EXPECT_EQ(frame->GetMessageString(ID_PUSH_SELECTED), u"Push \"Two\""_s);
    script.SetModifiedFlag(false);
    OnNextDialog([](CDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle(), u"Document Properties"_s);
        return PressOK(dialog);
    });
    Run(ID_SCRIPT_PROPERTIES);
    EXPECT_FALSE(script.IsModified());
    Select(frame, {1});
    OnNextEntryDialog(u"Two"_s, u"host/two"_s);
    Run(ID_SCRIPT_PROPERTIES);
    EXPECT_EQ(script.GetEntry(1)->m_address, u"host/two"_s);
    EXPECT_TRUE(script.IsModified());
    Select(frame, {0, 1});
    EXPECT_EQ(frame->GetMessageString(ID_PUSH_SELECTED), QString()) << "the ordinary prompt";

    const QString path = Path(u"talk.vns"_s);
    ChooseFile(path);
    Run(ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadFileBytes(path),
              QByteArray::fromHex("02000000 07") + "One\ttab" + QByteArray::fromHex("14")
                  + "http://HTTP://host/1" + QByteArray::fromHex("03") + "Two"
                  + QByteArray::fromHex("08") + "host/two");
    EXPECT_EQ(ScriptItems(), QStringList {u"talk.vns"_s});
    EXPECT_EQ(frame->windowTitle(), u"talk.vns"_s);

    const QString text = Path(u"talk.txt"_s);
    ChooseFile(text);
    Run(ID_EXPORT_SCRIPT);
    EXPECT_EQ(ReadFileBytes(text),
              QByteArray("One\ttab\thttp://HTTP://host/1\r\nTwo\thost/two\r\n"));
    const QString unwritable = Path(u"missing/talk.txt"_s);
    ChooseFile(unwritable);
    Run(ID_EXPORT_SCRIPT);
    EXPECT_EQ(BoxTexts().value(0), unwritable + u" was not found."_s);
    EXPECT_FALSE(QFile::exists(unwritable));

    // The session lists the saved script and reopens it; a missing one is skipped.
    CArchive stored;
    g_pSessionDoc->Serialize(stored);
    CArchive tail;
    tail.WriteUInt32(1);
    tail.WriteString(path);
    EXPECT_TRUE(stored.Bytes().endsWith(tail.Bytes()));
    frame->close();
    Settle();
    EXPECT_EQ(ScriptItems(), QStringList());
    Run(ID_CLOSE_SESSION);
    Settle();
    ASSERT_EQ(g_pSessionDoc, nullptr);

    m_boxes.clear();
    ChooseFile(SessionFile(u"talk.vnt"_s, {Path(u"gone.vns"_s), path}));
    Run(ID_FILE_OPEN);
    ASSERT_NE(g_pSessionDoc, nullptr);
    EXPECT_EQ(BoxTexts(),
              QStringList {u"gone.vns\nCannot find this file.\nPlease verify that the "
                           "correct path and file name are given."_s});
    EXPECT_EQ(ScriptItems(), QStringList {u"talk.vns"_s});
    EXPECT_FALSE(g_pSessionDoc->IsModified()) << "reopening the scripts changes nothing";

    // A damaged script opens nothing.
    m_boxes.clear();
    ASSERT_TRUE(WriteFileBytes(Path(u"bad.vns"_s), QByteArray::fromHex("02000000 0161")));
    ChooseFile(Path(u"bad.vns"_s));
    Run(ID_FILE_OPEN);
    EXPECT_EQ(BoxTexts(), QStringList {u"Unexpected file format."_s});
    EXPECT_EQ(ScriptItems(), QStringList {u"talk.vns"_s});
}

TEST_F(ScriptWindows, PushNextWrapsAndPushSelectedTellsWhenNoUserIsThere)
{
    StartSession();
    CScriptFrame *frame = NewScript({u"http://h/1"_s, u"http://h/2"_s, u"http://h/3"_s});
    ASSERT_NE(frame, nullptr);
    CScriptDoc &script = Document(frame);
    script.SetModifiedFlag(false);

    // Follow mode on and nobody there: the operator window still loads the entry.
    Select(frame, {2});
    EXPECT_TRUE(Enabled(ID_PUSH_SELECTED));
    Run(ID_PUSH_SELECTED);
    EXPECT_EQ(m_operatorWindowsOpened, 1) << "the operator window opens when needed";
    EXPECT_EQ(m_operator.m_addresses, QStringList {u"http://h/3"_s});
    ASSERT_EQ(m_boxes.size(), 1);
    EXPECT_EQ(m_boxes[0].text, CScriptView::kNoClients);
    EXPECT_EQ(m_boxes[0].style, unsigned(MB_ICONSTOP));
    EXPECT_EQ(script.CurrentIndex(), 0);

    m_operator.m_addresses.clear();
    for (int push = 0; push < 4; ++push)
        Run(ID_PUSH_NEXT);
    EXPECT_EQ(m_operator.m_addresses,
              (QStringList {u"http://h/1"_s, u"http://h/2"_s, u"http://h/3"_s, u"http://h/1"_s}));
    EXPECT_EQ(frame->View()->MarkedRow(), 1);
    EXPECT_EQ(script.CurrentIndex(), 1);
    EXPECT_FALSE(script.IsModified());

    // Follow mode off: the push is the script's own, with a user there.
    ASSERT_TRUE(Logon(g_pSessionDoc->m_options.m_port, u"127.0.0.2"_s));
    m_operator.m_following = false;
    Run(ID_PUSH_NEXT);
    EXPECT_EQ(CPushDispatcher::lastPushedAddress, u"http://h/2"_s);
    auto *activity = dynamic_cast<CDozoZedView *>(g_pActivityLink);
    ASSERT_NE(activity, nullptr);
    EXPECT_EQ(activity->List()->topLevelItem(0)->text(CDozoZedView::UrlColumn), u"http://h/2"_s);
    EXPECT_EQ(activity->List()->topLevelItem(0)->text(CDozoZedView::ClientColumn),
              CPushDispatcher::kAllClients);

    // Removing after the current entry keeps it; removing the current one moves it back.
    ASSERT_EQ(script.CurrentIndex(), 2);
    script.SetCurrentIndex(1);
    frame->View()->Update();
    Select(frame, {2});
    Run(ID_REMOVE_ENTRY);
    EXPECT_EQ(script.CurrentIndex(), 1);
    Select(frame, {1});
    Run(ID_REMOVE_ENTRY);
    EXPECT_EQ(script.CurrentIndex(), 0);
    EXPECT_EQ(frame->View()->MarkedRow(), 0);
    EXPECT_TRUE(script.IsModified());
    ASSERT_EQ(script.EntryCount(), 1);
    EXPECT_EQ(script.GetEntry(0)->m_address, u"http://h/1"_s);
}

TEST_F(ScriptWindows, TheWindowAndItsDialogsShowTheirWholeTextsAndEditsInPlaceChangeNothing)
{
    g_pMainFrame->resize(1260, 810);
    g_pMainFrame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(g_pMainFrame));
    StartSession();
    CScriptFrame *frame = NewScript({u"http://h/one"_s, u"http://h/two"_s});
    ASSERT_NE(frame, nullptr);
    Settle();
    CScriptList *list = frame->View()->List();
    EXPECT_GE(list->viewport()->width(), list->header()->length()) << "the URL column is in view";
    EXPECT_EQ(g_pMainFrame->FindAction(ID_SCRIPT_PROPERTIES)->text(), u"P&roperties"_s);

    // F2 on the address edits it in place; Enter leaves the entry and its row as they were.
    Activate(frame);
    list->setFocus();
    list->setCurrentIndex(list->model()->index(1, CScriptList::UrlColumn));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr) << "an editor opened";
    EXPECT_EQ(editor->text(), u"http://h/two"_s) << "the address is edited";
    editor->selectAll();
    QTest::keyClicks(editor, u"http://typed/"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
    EXPECT_EQ(list->topLevelItem(1)->text(CScriptList::UrlColumn), u"http://h/two"_s);
    EXPECT_EQ(Document(frame).GetEntry(1)->m_address, u"http://h/two"_s);

    // Pointing at a menu item shows the script's own prompt in the status bar.
    Select(frame, {1});
    const auto promptOf = [](int menuIndex, int id) {
        return MenuPrompt(*g_pMainFrame, menuIndex, id);
    };
    EXPECT_EQ(promptOf(2, ID_PUSH_SELECTED), u"Push \"two\""_s);
    EXPECT_EQ(promptOf(0, ID_FILE_SAVE_AS), u"Save the current script with a new name"_s);
    Select(frame, {0, 1});
    EXPECT_EQ(promptOf(2, ID_PUSH_SELECTED), u"Push the selected entry"_s);

    // The dialogs are wide enough for their captions, fields and labels.
    OnNextDialog([](CDialog &dialog) {
        dialog.adjustSize();
        EXPECT_EQ(dialog.windowTitle(), u"Add Document"_s);
        EXPECT_GE(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) * 3);
        for (const int id : {IDC_DOCUMENT_TITLE, IDC_DOCUMENT_URL}) {
            const QLineEdit *field = dialog.Control<QLineEdit>(id);
            EXPECT_GE(field->width(), field->fontMetrics().horizontalAdvance(u"http://"_s) * 5);
        }
        return static_cast<int>(IDCANCEL);
    });
    Run(ID_ADD_ENTRY);
    OnNextDialog([](CDialog &dialog) {
        for (const int id : {IDC_REMOTE, IDC_LOCAL, IDC_CDROM}) {
            const auto *radio = dialog.Control<QAbstractButton>(id);
            EXPECT_GE(radio->width(), radio->sizeHint().width()) << qPrintable(radio->text());
        }
        return static_cast<int>(IDCANCEL);
    });
    Run(ID_MANUAL_PUSH);
}

TEST_F(ScriptWindows, EntriesDropOnOtherScriptsAndOnTheActivityList)
{
    StartSession();
    CScriptFrame *first = NewScript({u"http://h/a"_s});
    CScriptFrame *second = NewScript();
    ASSERT_TRUE(first && second);
    Document(second).SetModifiedFlag(false);
    Select(first, {0});
    std::unique_ptr<QMimeData> dragged(first->View()->List()->DragData());
    ASSERT_NE(dragged, nullptr);

    EXPECT_FALSE(first->View()->List()->Drop(dragged.get())) << "not on the script it came from";
    EXPECT_EQ(Document(first).EntryCount(), 1);
    EXPECT_TRUE(second->View()->List()->Drop(dragged.get()));
    ASSERT_EQ(Document(second).EntryCount(), 1);
    EXPECT_EQ(Document(second).GetEntry(0)->m_address, u"http://h/a"_s);
    EXPECT_TRUE(Document(second).IsModified());
    // A favorite from the tree belongs to no script list.
    std::unique_ptr<QMimeData> favorite(CScriptEntry(u"F"_s, u"http://f/"_s).MakeMimeData());
    EXPECT_FALSE(second->View()->List()->Drop(favorite.get()));

    auto *activity = dynamic_cast<CDozoZedView *>(g_pActivityLink);
    ASSERT_NE(activity, nullptr);
    const int rows = activity->List()->topLevelItemCount();
    QMimeData text;
    text.setText(u"http://h/text"_s);
    EXPECT_FALSE(activity->Drop(&text));
    EXPECT_TRUE(activity->Drop(dragged.get())) << "taken, but nobody to push to";
    EXPECT_EQ(activity->List()->topLevelItemCount(), rows);
    ASSERT_TRUE(Logon(g_pSessionDoc->m_options.m_port, u"127.0.0.2"_s));
    EXPECT_TRUE(activity->Drop(dragged.get()));
    EXPECT_EQ(activity->List()->topLevelItem(0)->text(CDozoZedView::UrlColumn), u"http://h/a"_s);
    EXPECT_EQ(activity->List()->topLevelItem(0)->text(CDozoZedView::ClientColumn),
              CPushDispatcher::kAllClients);
}

TEST_F(ScriptWindows, FavoritesAreAddedOnceChosenFromTheMenuAndDialogAndRemovedQuietly)
{
    OnNextDialog([](CDialog &dialog) {
        auto &select = dynamic_cast<CSelectFavoriteDlg &>(dialog);
        EXPECT_EQ(select.List()->item(0)->text(), u"No Favorites"_s);
        EXPECT_FALSE(select.List()->isEnabled());
        EXPECT_FALSE(select.OkButton()->isEnabled());
        return PressOK(dialog);
    });
    Run(ID_SELECT_FAVORITE);
    EXPECT_TRUE(m_operator.m_addresses.isEmpty());

    // The page's own title decides whether it is known, before the operator's edit.
    for (const char16_t *title : {u"Edited", u"Edited"}) {
        OnNextDialog([title](CDialog &dialog) {
            SetControlText(dialog, IDC_FAVORITE_TITLE, QString::fromUtf16(title));
            return PressOK(dialog);
        });
        AppTree()->AddFavorite(std::make_shared<CFavorite>(u"Page"_s, u"http://p/"_s));
    }
    ASSERT_EQ(g_favorites.size(), 2) << "the stored title is the edited one";
    OnNextDialog(PressOK);
    AppTree()->AddFavorite(std::make_shared<CFavorite>(u"Page"_s, u"http://p/"_s));
    OnNextDialog(PressOK);
    AppTree()->AddFavorite(std::make_shared<CFavorite>(u"Page"_s, u"http://p/"_s));
    ASSERT_EQ(g_favorites.size(), 3) << "the same page under its own title is added once";

    OnNextDialog([](CDialog &dialog) {
        auto &select = dynamic_cast<CSelectFavoriteDlg &>(dialog);
        EXPECT_EQ(select.List()->count(), 3);
        EXPECT_EQ(select.Control<QLabel>(IDC_FAVORITE_ADDRESS)->text(), u"http://p/"_s);
        select.List()->setCurrentRow(2);
        return PressOK(dialog);
    });
    Run(ID_SELECT_FAVORITE);
    g_pMainFrame->UpdateFavoriteItems();
    const QAction *third = g_pMainFrame->FindAction(ID_FAVORITE_FIRST + 2);
    EXPECT_TRUE(third->isVisible());
    EXPECT_EQ(third->statusTip(), u"http://p/"_s);
    EXPECT_FALSE(g_pMainFrame->FindAction(ID_FAVORITE_FIRST + 3)->isVisible());
    Run(ID_FAVORITE_FIRST);
    EXPECT_EQ(m_operator.m_addresses, (QStringList {u"http://p/"_s, u"http://p/"_s}));

    // A session that only lost a favorite closes without a question.
    CSessionFile file;
    file.m_options.m_port = FreePort();
    file.m_options.m_rootFolder = m_dir.path();
    file.m_favorites = {std::make_shared<CFavorite>(u"Kept"_s, u"http://k/"_s)};
    ASSERT_EQ(file.SaveSessionFile(Path(u"fav.vnt"_s)), QString());
    ChooseFile(Path(u"fav.vnt"_s));
    Run(ID_FILE_OPEN);
    ASSERT_NE(g_pSessionDoc, nullptr);
    ASSERT_EQ(ChildTexts(AppTree()->FavoritesItem()), QStringList {u"Kept"_s});
    AppTree()->setCurrentItem(AppTree()->FavoritesItem()->child(0));
    Run(ID_REMOVE_FAVORITE);
    EXPECT_TRUE(g_favorites.isEmpty());
    m_boxes.clear();
    Run(ID_CLOSE_SESSION);
    Settle();
    EXPECT_EQ(g_pSessionDoc, nullptr);
    EXPECT_TRUE(m_boxes.isEmpty());
}

} // namespace
