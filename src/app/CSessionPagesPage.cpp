#include "CSessionPagesPage.h"

#include "CDataExchange.h"
#include "DialogControls.h"
#include "ResourceIds.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMaxPathChars = 2048;

// Each page path with its Browse button, in the order of the rows.
struct Row
{
    const char16_t *label;
    int edit;
    int browse;
};
constexpr Row kRows[] = {
    {u"&Logon Page:", IDC_LOGON_PAGE, IDC_BROWSE_LOGON},
    {u"L&ogoff Page:", IDC_LOGOFF_PAGE, IDC_BROWSE_LOGOFF},
    {u"&Busy Page:", IDC_BUSY_PAGE, IDC_BROWSE_BUSY},
    {u"&Welcome Page:", IDC_WELCOME_PAGE, IDC_BROWSE_WELCOME},
};

} // namespace

CSessionPagesPage::CSessionPagesPage(QWidget *parent)
    : CPropertyPage(u"Default Pages"_s, parent)
{
    auto *grid = new QGridLayout(this);
    int line = 0;
    for (const Row &row : kRows) {
        auto *label = new QLabel(QString::fromUtf16(row.label), this);
        QWidget *edit = MakeEdit(this, row.edit);
        label->setBuddy(edit);
        grid->addWidget(label, line, 0);
        grid->addWidget(edit, line, 1);
        grid->addWidget(MakeButton(this, row.browse, u"Browse..."_s), line, 2);
        ++line;
    }
}

void CSessionPagesPage::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_BUSY_PAGE, m_busyPage, kMaxPathChars);
    DDX_Text(dx, IDC_LOGOFF_PAGE, m_logoffPage, kMaxPathChars);
    DDX_Text(dx, IDC_LOGON_PAGE, m_logonPage, kMaxPathChars);
    DDX_Text(dx, IDC_WELCOME_PAGE, m_welcomePage);
}

void CSessionPagesPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    for (const Row &row : kRows) {
        Control<QWidget>(row.edit)->setEnabled(false);
        Control<QWidget>(row.browse)->setEnabled(false);
    }
}
