#pragma once

#include "CDialog.h"

#include <QList>

class CPropertyPage;
class QTabWidget;

// Pages in tabs with OK and Cancel. OK validates every page in order and stays open on the
// first page that refuses a field.
class CPropertySheet : public CDialog
{
public:
    explicit CPropertySheet(const QString &caption, QWidget *parent = nullptr);

    // The sheet does not own the pages' data, only their widgets.
    void AddPage(CPropertyPage *page);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage *GetPage(int index) const { return m_pages.value(index); }
    CPropertyPage *GetActivePage() const;

    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    QTabWidget *m_tabs;
    QList<CPropertyPage *> m_pages;
};
