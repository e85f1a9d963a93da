#include "ConsoleFixture.h"

#include "CControlBar.h"
#include "CDocManager.h"
#include "CDocTemplate.h"
#include "CDozoZedDoc.h"
#include "CMainFrame.h"
#include "CMyMultiDocTemplate.h"
#include "CSessionFile.h"
#include "CSessionServerPage.h"
#include "CSessionSheet.h"
#include "CSvrOptions.h"
#include "CUserTable.h"
#include "CVantroTree.h"
#include "FileDialog.h"
#include "LocalHost.h"
#include "ResourceIds.h"
#include "SessionLinks.h"
#include "StringTable.h"
#include "TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

ConsoleFixture::ConsoleFixture() = default;
ConsoleFixture::~ConsoleFixture() = default;

void ConsoleFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    for (const char *page : {"logon.htm", "welcome.htm", "busy.htm", "logoff.htm"}) {
        ASSERT_TRUE(WriteFileBytes(m_dir.filePath(QString::fromLatin1(page)),
                                   QByteArray("<p>") + page + "</p>"));
    }
    m_previousDirectory = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    CSvrOptions::SetDefaultRootFolder(m_dir.path());
    SetLocalHostLookup([] { return LocalHostLookup {true, u"127.0.0.1"_s, 0}; });
    SetMessageBoxHandler([this](const MessageBoxRequest &request) {
        m_boxes.append(request);
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        const unsigned buttons = request.style & 0xF;
        return static_cast<int>(buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK);
    });
    SetModalDialogHandler([this](CDialog &dialog) {
        if (m_dialogs.isEmpty()) {
            ADD_FAILURE() << "unexpected dialog " << qPrintable(dialog.windowTitle());
            return static_cast<int>(IDCANCEL);
        }
        return m_dialogs.takeFirst()(dialog);
    });
    m_manager = std::make_unique<CDocManager>();
    auto sessionTemplate = std::make_unique<CMyMultiDocTemplate>(
        IDR_SESSIONTYPE, LoadResString(IDR_SESSIONTYPE), [] { return new CDozoZedDoc; }, true);
    m_sessionTemplate = sessionTemplate.get();
    m_manager->AddDocTemplate(std::move(sessionTemplate));
    g_bExitConfirmed = false;
}

void ConsoleFixture::TearDown()
{
    g_bExitConfirmed = true;
    if (m_manager)
        m_manager->CloseAllDocuments();
    Settle();
    m_manager.reset();
    {
        const QMutexLocker lock(&g_userTable.Lock());
        g_userTable.Clear();
    }
    Settle();
    g_bExitConfirmed = false;
    EXPECT_TRUE(m_dialogs.isEmpty()) << "a scripted dialog never opened";
    SetModalDialogHandler({});
    SetMessageBoxHandler({});
    SetLocalHostLookup({});
    QDir::setCurrent(m_previousDirectory);
}

QStringList ConsoleFixture::BoxTexts() const
{
    QStringList texts;
    for (const MessageBoxRequest &box : m_boxes)
        texts.append(box.text);
    return texts;
}

int ConsoleFixture::PressOK(CDialog &dialog)
{
    dialog.OnOK();
    return dialog.Result();
}

void ConsoleFixture::SetControlText(CDialog &dialog, int id, const QString &text)
{
    QLineEdit *edit = dialog.Control<QLineEdit>(id);
    ASSERT_NE(edit, nullptr) << id;
    edit->setText(text);
}

void ConsoleFixture::OnNextSheet(SheetEdit edit)
{
    OnNextDialog([edit = std::move(edit)](CDialog &dialog) {
        auto &sheet = dynamic_cast<CSessionSheet &>(dialog);
        if (edit)
            edit(sheet);
        return PressOK(sheet);
    });
}

CDozoZedDoc *ConsoleFixture::NewSession(SheetEdit edit)
{
    const int port = FreePort();
    OnNextSheet([port, edit = std::move(edit)](CSessionSheet &sheet) {
        sheet.m_pServerPage->m_port = static_cast<unsigned>(port);
        if (edit)
            edit(sheet);
    });
    return static_cast<CDozoZedDoc *>(m_sessionTemplate->OpenDocumentFile({}));
}

int ConsoleFixture::FreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool ConsoleFixture::Logon(int port, const QString &source, const QByteArray &alias)
{
    const QByteArray received = Get(port, source, "/?sex=Mr&alias=" + alias + "&C=1");
    Settle();
    return received.startsWith("HTTP/1.0 200");
}

QByteArray ConsoleFixture::Get(int port, const QString &source, const QByteArray &path)
{
    QTcpSocket client;
    QByteArray received;
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QTcpSocket::connected, &loop, [&] {
        client.write("GET " + path + " HTTP/1.0\r\nUser-Agent: Test/1.0\r\n\r\n");
    });
    QObject::connect(&client, &QTcpSocket::readyRead, &loop, [&] { received += client.readAll(); });
    QObject::connect(&client, &QTcpSocket::disconnected, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    client.bind(QHostAddress(source));
    client.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    loop.exec();
    return received;
}

void ConsoleFixture::Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

QStringList ConsoleFixture::ChildTexts(const QTreeWidgetItem *item)
{
    QStringList texts;
    for (int index = 0; index < item->childCount(); ++index)
        texts.append(item->child(index)->text(0));
    return texts;
}

QByteArray ConsoleFixture::LogBytes(const QString &name) const
{
    return ReadFileBytes(m_dir.filePath(name));
}

void ConsoleFixture::DoubleClickHeaderDivider(QTreeWidget *list)
{
    QWidget *header = list->header()->viewport();
    const QPointF at(list->columnWidth(0) - 1, 5);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, header->mapToGlobal(at),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(header, &doubleClick);
}

void AppFixture::SetUp()
{
    ConsoleFixture::SetUp();
    // The application keeps its own window types; its open channel lives in this test's folder.
    m_manager.reset();
    qputenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit());
    m_app = std::make_unique<CDozoZedApp>();
    ASSERT_TRUE(m_app->InitInstance());
    ASSERT_NE(g_pMainFrame, nullptr);
}

void AppFixture::TearDown()
{
    g_pOperatorWindow = nullptr;
    g_bExitConfirmed = true;
    m_app->DocManager().CloseAllDocuments();
    Settle();
    delete g_pMainFrame;
    m_app->ExitInstance();
    m_app.reset();
    SetFileDialogHandler({});
    ConsoleFixture::TearDown();
}

CVantroTree *AppFixture::AppTree() const
{
    return g_pMainFrame->ControlBar()->Tree();
}

bool AppFixture::Enabled(int id)
{
    g_pMainFrame->UpdateCommandUI();
    return g_pMainFrame->FindAction(id)->isEnabled();
}

void AppFixture::Run(int id)
{
    g_pMainFrame->UpdateCommandUI();
    g_pMainFrame->FindAction(id)->trigger();
}

void AppFixture::ChooseFile(const QString &path)
{
    SetFileDialogHandler([path](const FileDialogRequest &) { return path; });
}

QString AppFixture::SessionFile(const QString &name, const QStringList &scriptPaths)
{
    CSessionFile file;
    file.m_options.m_port = FreePort();
    file.m_options.m_rootFolder = m_dir.path();
    file.m_scriptPaths = scriptPaths;
    const QString path = Path(name);
    EXPECT_EQ(file.SaveSessionFile(path), QString());
    return path;
}

void AppFixture::UseRecordingOperator(CRecordingOperator &recorder)
{
    auto operatorType = std::make_unique<CDocTemplate>(IDR_BROWSERTYPE, u"\nOperator"_s,
                                                       [] { return new CDocument; });
    operatorType->SetFrameFactory([this, &recorder](CDocument &) {
        ++m_operatorWindowsOpened;
        g_pOperatorWindow = &recorder;
        return true;
    });
    m_app->DocManager().SetDocTemplate(2, std::move(operatorType));
}
