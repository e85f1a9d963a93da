#include "CSelectFavoriteDlg.h"

#include "ResourceIds.h"
#include "SessionLinks.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Each entry keeps the position of its favorite in the favorites list.
constexpr int FavoriteRole = Qt::UserRole;

} // namespace

CSelectFavoriteDlg::CSelectFavoriteDlg(QWidget *parent)
    : CDialog(parent)
    , m_list(new QListWidget(this))
    , m_addressText(new QLabel(this))
{
    setWindowTitle(u"Select Favorite"_s);
    SetControlId(this, IDD_SELECT_FAVORITE);
    SetControlId(m_list, IDC_FAVORITE_LIST);
    SetControlId(m_addressText, IDC_FAVORITE_ADDRESS);
    m_addressText->setTextFormat(Qt::PlainText);
    m_addressText->setWordWrap(true);
    auto *label = new QLabel(u"&Select a Favorite to Push:"_s, this);
    label->setBuddy(m_list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list);
    layout->addWidget(m_addressText);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { OnOK(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { ShowSelectedAddress(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { OnOK(); });
}

void CSelectFavoriteDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list->clear();
    for (qsizetype index = 0; index < g_favorites.size(); ++index) {
        if (!g_favorites.at(index))
            continue;
        auto *item = new QListWidgetItem(g_favorites.at(index)->m_title, m_list);
        item->setData(FavoriteRole, static_cast<int>(index));
    }
    const bool any = m_list->count() > 0;
    if (any)
        m_list->setCurrentRow(0);
    else
        m_list->addItem(u"No Favorites"_s);
    m_list->setEnabled(any);
    m_ok->setEnabled(any);
}

std::shared_ptr<CFavorite> CSelectFavoriteDlg::SelectedFavorite() const
{
    const QListWidgetItem *item = m_list->currentItem();
    const QVariant position = item ? item->data(FavoriteRole) : QVariant();
    return position.isValid() ? g_favorites.value(position.toInt()) : nullptr;
}

void CSelectFavoriteDlg::ShowSelectedAddress()
{
    const std::shared_ptr<CFavorite> favorite = SelectedFavorite();
    m_addressText->setText(favorite ? favorite->m_address : QString());
}

void CSelectFavoriteDlg::OnOK()
{
    if (!m_ok->isEnabled())
        return;
    const std::shared_ptr<CFavorite> favorite = SelectedFavorite();
    m_title = favorite ? favorite->m_title : QString();
    m_address = favorite ? favorite->m_address : QString();
    CDialog::OnOK();
}
