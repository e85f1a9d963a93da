#include "PrintSetup.h"

#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPrinter>

namespace {

QPrinter *g_pPrinter = nullptr;

void DeletePrinter()
{
    delete g_pPrinter;
    g_pPrinter = nullptr;
}

} // namespace

QPrinter &ApplicationPrinter()
{
    if (!g_pPrinter) {
        g_pPrinter = new QPrinter;
        qAddPostRoutine(DeletePrinter);
    }
    return *g_pPrinter;
}

void ShowPrintSetup(QWidget *parent)
{
    QPageSetupDialog(&ApplicationPrinter(), parent).exec();
}
