#pragma once

#include "CDialog.h"

#include <memory>

class CFavorite;

class QAbstractButton;
class QLabel;
class QListWidget;

// "Select Favorite": the favorites' titles in list order, the chosen one's address below. With
// no favorites it offers only Cancel. A double-click on an entry is OK.
class CSelectFavoriteDlg : public CDialog
{
public:
    explicit CSelectFavoriteDlg(QWidget *parent = nullptr);

    // The result of OK: the chosen favorite's title and address.
    QString m_title;
    QString m_address;

    QListWidget *List() const { return m_list; }
    QAbstractButton *OkButton() const { return m_ok; }

    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    std::shared_ptr<CFavorite> SelectedFavorite() const;
    void ShowSelectedAddress();

    QListWidget *m_list;
    QLabel *m_addressText;
    QAbstractButton *m_ok;
};
