#include "CAboutDlg.h"

#include "CDozoZedDoc.h"
#include "LocalHost.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CAboutDlg::CAboutDlg(QWidget *parent)
    : CDialog(parent)
{
    setWindowTitle(u"About Vantro"_s
                   + AddressTitleOrWarn(g_pSessionDoc ? g_pSessionDoc->ServedPort() : 80));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto *layout = new QVBoxLayout(this);
    auto *release = new QLabel(u"Release 1.00"_s, this);
    release->setTextFormat(Qt::PlainText);
    layout->addWidget(release);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
}
