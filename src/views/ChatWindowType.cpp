#include "ChatWindowType.h"

#include "CChatDoc.h"
#include "CChatView.h"
#include "CMDIChildWnd.h"
#include "CMainFrame.h"
#include "CMyMultiDocTemplate.h"
#include "ResourceIds.h"
#include "StringTable.h"

std::unique_ptr<CDocTemplate> MakeChatTemplate()
{
    auto chat = std::make_unique<CMyMultiDocTemplate>(
        IDR_CHATTYPE, LoadResString(IDR_CHATTYPE), [] { return new CChatDoc; }, false);
    chat->SetFrameFactory([](CDocument &document) {
        auto *frame = new CMDIChildWnd(document);
        frame->SetView(new CChatView(document, frame));
        QObject::connect(&document, &CDocument::InitialUpdate, frame,
                         [frame, &document] { frame->setWindowTitle(document.GetTitle()); });
        if (g_pMainFrame)
            g_pMainFrame->AddChildFrame(frame);
        return true;
    });
    return chat;
}
