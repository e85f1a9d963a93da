#include "CPropertySheet.h"

#include "CPropertyPage.h"
#include "MessageBox.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

CPropertySheet::CPropertySheet(const QString &caption, QWidget *parent)
    : CDialog(parent)
    , m_tabs(new QTabWidget(this))
{
    setWindowTitle(caption);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);
}

void CPropertySheet::AddPage(CPropertyPage *page)
{
    m_pages.append(page);
    m_tabs->addTab(page, page->Caption());
}

CPropertyPage *CPropertySheet::GetActivePage() const
{
    return static_cast<CPropertyPage *>(m_tabs->currentWidget());
}

void CPropertySheet::OnInitDialog()
{
    for (CPropertyPage *page : std::as_const(m_pages))
        page->InitPage();
}

void CPropertySheet::OnOK()
{
    for (CPropertyPage *page : std::as_const(m_pages)) {
        if (!page->OnKillActive()) {
            m_tabs->setCurrentWidget(page);
            return;
        }
    }
    for (CPropertyPage *page : std::as_const(m_pages))
        page->OnPageOK();
    EndDialog(IDOK);
}
