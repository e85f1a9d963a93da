#include "ChatWindowType.h"

#include "CChatDoc.h"
#include "CChatHub.h"
#include "CChatView.h"
#include "CDocManager.h"
#include "CMDIChildWnd.h"
#include "CMainFrame.h"
#include "CMyMultiDocTemplate.h"
#include "ResourceIds.h"
#include "StringTable.h"

namespace {

// The chat type's position among the window types.
constexpr int kChatTemplate = 3;
constexpr QSize kChatWindowSize(440, 400);

// The key of the chat window being made; the template makes its documents without arguments.
QString &NextKey()
{
    static QString key;
    return key;
}

} // namespace

std::unique_ptr<CDocTemplate> MakeChatTemplate()
{
    auto chat = std::make_unique<CMyMultiDocTemplate>(
        IDR_CHATTYPE, LoadResString(IDR_CHATTYPE), [] { return new CChatDoc(NextKey()); }, false);
    chat->SetFrameFactory([](CDocument &document) {
        auto *frame = new CMDIChildWnd(document);
        auto *view = new CChatView(document, frame);
        frame->SetView(view);
        // Room for a few lines of conversation from the start.
        frame->resize(kChatWindowSize);
        QObject::connect(&document, &CDocument::InitialUpdate, frame,
                         [frame, &document] { frame->setWindowTitle(document.GetTitle()); });
        QObject::connect(frame, &QMdiSubWindow::windowStateChanged, frame,
                         [view](Qt::WindowStates, Qt::WindowStates state) {
                             if (state.testFlag(Qt::WindowActive) && g_pChatHub)
                                 g_pChatHub->OnChatActivated(view->Key());
                         });
        if (g_pMainFrame)
            g_pMainFrame->AddChildFrame(frame);
        return true;
    });
    return chat;
}

CDocument *NewChatWindow(const QString &key)
{
    CDocTemplate *chat = g_pDocManager ? g_pDocManager->GetTemplate(kChatTemplate) : nullptr;
    if (!chat || chat->GetResourceId() != IDR_CHATTYPE)
        return nullptr;
    NextKey() = key;
    CDocument *document = chat->OpenDocumentFile({});
    NextKey().clear();
    return document;
}
