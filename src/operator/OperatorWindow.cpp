#include "OperatorWindow.h"

#include "CMainFrame.h"
#include "CMyMultiDocTemplate.h"
#include "COperatorDoc.h"
#include "COperatorFrame.h"
#include "OperatorWindowType.h"
#include "ResourceIds.h"
#include "StringTable.h"

#include <QCoreApplication>

#include <unistd.h>

std::unique_ptr<CDocTemplate> MakeOperatorTemplate()
{
    auto docTemplate = std::make_unique<CMyMultiDocTemplate>(
        IDR_BROWSERTYPE, LoadResString(IDR_BROWSERTYPE), [] { return new COperatorDoc; }, false);
    docTemplate->SetFrameFactory([](CDocument &document) {
        auto *frame = new COperatorFrame(document);
        if (g_pMainFrame)
            g_pMainFrame->AddChildFrame(frame);
        return true;
    });
    return docTemplate;
}

void PrepareOperatorWindow()
{
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    g_makeOperatorTemplate = &MakeOperatorTemplate;
}
