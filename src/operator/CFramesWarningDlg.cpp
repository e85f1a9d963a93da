#include "CFramesWarningDlg.h"

#include "HelpTopics.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "StringTable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CFramesWarningDlg::CFramesWarningDlg(QWidget *parent)
    : CDialog(parent)
{
    setWindowTitle(LoadResString(IDS_APP_TITLE));
    auto *text = new QLabel(u"Warning: Frames detected in current page."_s, this);
    text->setTextFormat(Qt::PlainText);
    QFont bold = text->font();
    bold.setWeight(QFont::Bold);
    text->setFont(bold);
    SetControlId(text, IDC_FRAMES_TEXT);
    auto *ok = new QPushButton(u"OK"_s, this);
    ok->setDefault(true);
    SetControlId(ok, IDOK);
    auto *moreInfo = new QPushButton(u"More &Info..."_s, this);
    SetControlId(moreInfo, IDC_MORE_INFO);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(moreInfo);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(moreInfo, &QPushButton::clicked, this, [this] { OnMoreInfo(); });
}

void CFramesWarningDlg::OnMoreInfo()
{
    ShowHelpTopic(HID_FRAMES_INFO);
}
