#include "CConsoleHost.h"

#include "CAddDocumentDlg.h"
#include "CChatHub.h"
#include "CChatView.h"
#include "CDozoZedDoc.h"
#include "CDozoZedView.h"
#include "CListenSocket.h"
#include "CMainFrame.h"
#include "COperatorFrame.h"
#include "COperatorView.h"
#include "CPushDispatcher.h"
#include "CScriptFrame.h"
#include "CSessionClientPage.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CURLDlg.h"
#include "CUserTable.h"
#include "CUsersView.h"
#include "CVantroTree.h"
#include "FileDialog.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "ServerLinks.h"
#include "SessionLinks.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

CConsoleHost::CConsoleHost(const Settings &settings)
    : m_settings(settings)
    , m_channel([this](const QByteArray &line) { RunCommand(line); }, [this] { OnInputEnd(); })
{
    SetModalDialogHandler([this](CDialog &dialog) { return AnswerDialog(dialog); });
    // Documents saved on the way out land in the content folder under their own names.
    SetFileDialogHandler([root = settings.m_root](const FileDialogRequest &request) {
        if (request.m_open)
            return QString();
        QString name = QFileInfo(request.m_fileName).fileName();
        if (!name.endsWith(request.m_defaultExt, Qt::CaseInsensitive))
            name += request.m_defaultExt;
        return QDir(root).filePath(name);
    });
}

// The operator's answers to the Session Properties sheet, Add Document and Manual Push; any
// other dialog is cancelled.
int CConsoleHost::AnswerDialog(CDialog &dialog)
{
    if (auto *push = dynamic_cast<CURLDlg *>(&dialog))
        return AnswerManualPush(*push, m_pushAddress, m_pushKey);
    if (auto *entry = dynamic_cast<CAddDocumentDlg *>(&dialog)) {
        entry->Control<QLineEdit>(IDC_DOCUMENT_TITLE)->setText(m_entryTitle);
        entry->Control<QLineEdit>(IDC_DOCUMENT_URL)->setText(m_entryAddress);
        entry->OnOK();
        return entry->Result();
    }
    auto *sheet = dynamic_cast<CSessionSheet *>(&dialog);
    if (!sheet)
        return IDCANCEL;
    sheet->m_pServerPage->m_rootFolder = m_settings.m_root;
    sheet->m_pServerPage->m_port = static_cast<unsigned>(m_settings.m_port);
    sheet->m_pClientPage->Control<QLineEdit>(IDC_REFRESH)
        ->setText(QString::number(m_settings.m_refreshSecs));
    sheet->m_pClientPage->Control<QLineEdit>(IDC_DOWNLOAD_DELAY)
        ->setText(QString::number(m_settings.m_delaySecs));
    sheet->OnOK();
    return sheet->Result();
}

bool CConsoleHost::Start()
{
    g_pMainFrame->FindAction(ID_NEW_SESSION)->trigger();
    if (!g_pSessionDoc || !g_pSessionDoc->IsRunning())
        return false;
    WatchActivityList();
    PrintLine(u"listening %1"_s.arg(g_pSessionDoc->m_pListenSocket->serverPort()));
    return true;
}

void CConsoleHost::WatchActivityList()
{
    auto *view = dynamic_cast<CDozoZedView *>(g_pActivityLink);
    if (!view)
        return;
    m_list = view->List();
    QAbstractItemModel *model = m_list->model();
    connect(model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first) { PrintRow(first, "activity"); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                    PrintRow(row, "row");
            });
}

// "activity USER<TAB>ADDRESS<TAB>STATUS" for a new row, "row ..." for a changed one.
void CConsoleHost::PrintRow(int row, const char *kind)
{
    const QTreeWidgetItem *item = m_list->topLevelItem(row);
    if (!item)
        return;
    PrintLine(QString::fromLatin1(kind) + u' ' + item->text(CDozoZedView::ClientColumn) + u'\t'
              + item->text(CDozoZedView::UrlColumn) + u'\t'
              + item->text(CDozoZedView::StatusColumn));
}

// The title of the newest activity row of the address.
QString CConsoleHost::RowTitle(const QString &address) const
{
    for (int row = 0; m_list && row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = m_list->topLevelItem(row);
        if (item->text(CDozoZedView::UrlColumn) == address)
            return item->text(CDozoZedView::TitleColumn);
    }
    return {};
}

// The console's resident memory in kB, as the kernel counts it.
QString CConsoleHost::ResidentKilobytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return {};
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return QString::fromLatin1(line.mid(6).trimmed().split(' ').constFirst());
    }
    return {};
}

// Closes as the operator would: confirmed with users attached, saved, windows gone.
void CConsoleHost::OnInputEnd()
{
    g_pMainFrame->close();
}

// The push the activity list makes for a dropped entry, and the user count.
void CConsoleHost::RunCommand(const QByteArray &line)
{
    const QList<QByteArray> words = line.split(' ');
    if (words.front() == "push-all" && words.size() == 2) {
        CPushDispatcher().PushToAll(QString::fromUtf8(words[1]));
        PrintLine(u"ok"_s);
    } else if (words.front() == "operator-open") {
        g_pMainFrame->FindAction(ID_VIEW_OPERATOR)->trigger();
        if (!g_pOperatorFrame) {
            PrintLine(u"error no operator window"_s);
            return;
        }
        // Whole, for screenshots of the main window.
        g_pOperatorFrame->showMaximized();
        PrintLine(u"ok"_s);
    } else if (words.front() == "operator-navigate" && words.size() == 2 && g_pOperatorFrame) {
        g_pOperatorFrame->View()->Navigate(QString::fromUtf8(words[1]));
        PrintLine(u"ok"_s);
    } else if (words.front() == "title" && words.size() == 2) {
        PrintLine(u"ok "_s + RowTitle(QString::fromUtf8(words[1])));
    } else if (words.front() == "screenshot" && words.size() == 2) {
        const bool saved = g_pMainFrame->grab().save(QString::fromUtf8(words[1]), "PNG");
        PrintLine(saved ? u"ok"_s : u"error screenshot not saved"_s);
    } else if (words.front() == "rss") {
        PrintLine(u"ok "_s + ResidentKilobytes());
    } else if (words.front() == "tree-users") {
        PrintTreeUsers();
    } else if (words.front() == "tree-expand") {
        if (auto *tree = dynamic_cast<CVantroTree *>(g_pTree))
            tree->expandAll();
        PrintLine(u"ok"_s);
    } else if (words.front() == "users-window") {
        g_pMainFrame->FindAction(ID_VIEW_USERS)->trigger();
        PrintUsersWindow();
    } else if (words.front() == "logoff-window" && words.size() == 2) {
        LogoffFromUsersWindow(QString::fromUtf8(words[1]));
    } else if (words.front().startsWith("chat-") || words.front() == "active-window") {
        RunChatCommand(words);
    } else if (words.front().startsWith("script-")) {
        RunScriptCommand(words);
    } else if (words.front() == "manual-push" && words.size() == 3) {
        RunManualPush(words);
    } else if (words.front() == "main-resize" && words.size() == 3) {
        g_pMainFrame->resize(words[1].toInt(), words[2].toInt());
        PrintLine(u"ok"_s);
    } else if (words.front() == "windows-tile") {
        g_pMainFrame->MdiArea()->tileSubWindows();
        PrintLine(u"ok"_s);
    } else if (words.front() == "users") {
        const QMutexLocker lock(&g_userTable.Lock());
        PrintLine(u"ok %1"_s.arg(g_userTable.Size()));
    } else {
        PrintLine("error unknown command: "_L1 + QString::fromUtf8(line));
    }
}

// "manual-push URL KEY": unfolds the users list, leaves only the row whose "Info" shows that
// address selected and pushes the address.
void CConsoleHost::RunManualPush(const QList<QByteArray> &words)
{
    m_pushAddress = QString::fromUtf8(words[1]);
    m_pushKey = QString::fromUtf8(words[2]);
    const bool done = RunMenuCommand(ID_MANUAL_PUSH);
    PrintLine(done ? u"ok"_s : u"error manual push not run"_s);
}

int CConsoleHost::AnswerManualPush(CURLDlg &dialog, const QString &address, const QString &key)
{
    dialog.OnShowUsers();
    QTreeWidget *list = dialog.UsersList();
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        list->topLevelItem(row)->setSelected(list->topLevelItem(row)->text(1) == key);
    dialog.Control<QLineEdit>(IDC_REMOTE_TEXT)->setText(address);
    dialog.OnOK();
    return dialog.Result();
}

// "ok" and the names under the tree's Users item, each after a tab.
void CConsoleHost::PrintTreeUsers()
{
    auto *tree = dynamic_cast<CVantroTree *>(g_pTree);
    QString line = u"ok"_s;
    for (int index = 0; tree && index < tree->UsersItem()->childCount(); ++index)
        line += u'\t' + tree->UsersItem()->child(index)->text(0);
    PrintLine(line);
}

// "ok" and the users window's rows, each as " | NAME<TAB>ADDRESS<TAB>STATUS".
void CConsoleHost::PrintUsersWindow()
{
    if (!g_pUsersView) {
        PrintLine(u"error no users window"_s);
        return;
    }
    QString line = u"ok"_s;
    const QTreeWidget *list = g_pUsersView->List();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = list->topLevelItem(row);
        line += " | "_L1 + item->text(CUsersView::UserColumn) + u'\t'
            + item->text(CUsersView::AddressColumn) + u'\t' + item->text(CUsersView::StatusColumn);
        if (!item->text(CUsersView::ChatColumn).isEmpty())
            line += u'\t' + item->text(CUsersView::ChatColumn);
    }
    PrintLine(line);
}

// Selects the users window's rows of the address alone and presses "Logoff..."; the question is
// answered Yes, as every message box of the host is.
void CConsoleHost::LogoffFromUsersWindow(const QString &address)
{
    if (!g_pUsersView) {
        PrintLine(u"error no users window"_s);
        return;
    }
    QTreeWidget *list = g_pUsersView->List();
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = list->topLevelItem(row);
        item->setSelected(item->text(CUsersView::AddressColumn) == address);
    }
    g_pUsersView->OnLogoff();
    PrintUsersWindow();
}

// "chat-open KEY" opens the user's chat from its users window row, "chat-all" the chat with
// everybody from the menu; "chat-send TEXT..." types into the focused input line and presses
// Enter; "chat-lines KEY|all" prints the window's title and lines; "active-window" the title of
// the window the operator is in; "chat-screenshot FILE.png" saves a picture of that window.
void CConsoleHost::RunChatCommand(const QList<QByteArray> &words)
{
    const QString rest = QString::fromUtf8(words.mid(1).join(' '));
    if (words.front() == "chat-open" && words.size() == 2) {
        g_pMainFrame->FindAction(ID_VIEW_USERS)->trigger();
        QTreeWidget *list = g_pUsersView ? g_pUsersView->List() : nullptr;
        for (int row = 0; list && row < list->topLevelItemCount(); ++row) {
            if (list->topLevelItem(row)->text(CUsersView::AddressColumn) == rest)
                list->setCurrentItem(list->topLevelItem(row));
        }
        g_pUsersView->OnChatWithUser();
    } else if (words.front() == "chat-all") {
        RunMenuCommand(ID_NEW_CHAT);
    } else if (words.front() == "chat-send") {
        auto *input = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        if (!input) {
            const QWidget *focus = QApplication::focusWidget();
            PrintLine(
                u"error the focus is not on an input line but on "_s
                + (focus ? QString::fromLatin1(focus->metaObject()->className()) : u"nothing"_s)
                + u" in "_s
                + (QApplication::activeWindow() ? QApplication::activeWindow()->windowTitle()
                                                : u"no window"_s));
            return;
        }
        input->insert(rest);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(input, &press);
    } else if (words.front() == "chat-lines" && words.size() == 2) {
        return PrintChat(rest == "all"_L1 ? QString() : rest);
    } else if (words.front() == "chat-screenshot" && words.size() == 2) {
        QMdiSubWindow *active = g_pMainFrame->MdiArea()->activeSubWindow();
        const bool saved = active && active->grab().save(rest, "PNG");
        PrintLine(saved ? u"ok"_s : u"error screenshot not saved"_s);
        return;
    }
    const QMdiSubWindow *active = g_pMainFrame->MdiArea()->activeSubWindow();
    PrintLine(u"ok "_s + (active ? active->windowTitle() : QString()));
}

// "ok TITLE", then " | " and each line of the conversation's window.
void CConsoleHost::PrintChat(const QString &key)
{
    const CChatView *view = CChatHub::FindView(key);
    if (!view) {
        PrintLine(u"error no chat window"_s);
        return;
    }
    QString line = u"ok "_s + view->parentWidget()->windowTitle();
    const QString text = view->Conversation()->toPlainText();
    for (const QString &message : text.split(u'\n', Qt::SkipEmptyParts))
        line += " | "_L1 + message;
    PrintLine(line);
}

bool CConsoleHost::RunMenuCommand(int id)
{
    g_pMainFrame->UpdateCommandUI();
    QAction *action = g_pMainFrame->FindAction(id);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    return true;
}

// "script-new", "script-add URL TITLE..." and "script-next", as the operator gives them in the
// newest script window.
void CConsoleHost::RunScriptCommand(const QList<QByteArray> &words)
{
    if (words.front() == "script-new") {
        const QList<QMdiSubWindow *> before = g_pMainFrame->MdiArea()->subWindowList();
        RunMenuCommand(ID_NEW_SCRIPT);
        const QList<QMdiSubWindow *> after = g_pMainFrame->MdiArea()->subWindowList();
        m_script
            = after.size() > before.size() ? dynamic_cast<CScriptFrame *>(after.last()) : nullptr;
        PrintLine(m_script ? u"ok"_s : u"error no script window"_s);
        return;
    }
    if (!m_script) {
        PrintLine(u"error no script window"_s);
        return;
    }
    g_pMainFrame->MdiArea()->setActiveSubWindow(m_script);
    bool done = false;
    if (words.front() == "script-add" && words.size() >= 3) {
        m_entryAddress = QString::fromUtf8(words[1]);
        m_entryTitle = QString::fromUtf8(words.mid(2).join(' '));
        done = RunMenuCommand(ID_ADD_ENTRY);
    } else if (words.front() == "script-next" && words.size() == 1) {
        done = RunMenuCommand(ID_PUSH_NEXT);
    }
    PrintLine(done ? u"ok"_s : u"error script command not run"_s);
}
