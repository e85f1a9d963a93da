#include "CURLDlg.h"

#include "CDataExchange.h"
#include "CDozoZedDoc.h"
#include "CPushDispatcher.h"
#include "CSelectFavoriteDlg.h"
#include "CUserInfo.h"
#include "CVantroTree.h"
#include "CdromDrive.h"
#include "DialogControls.h"
#include "FileDialog.h"
#include "HeaderClickFilter.h"
#include "MessageBox.h"
#include "OperatorWindowType.h"
#include "ResourceIds.h"
#include "SessionLinks.h"
#include "Trace.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The controls' places in dialog units; the users list and its buttons lie below the folded
// height. The radio buttons leave room for their marks beside the longest label, "CD-ROM:".
constexpr DialogPlacement kPlacements[] = {
    {IDC_REMOTE, 7, 10, 56, 10},         {IDC_REMOTE_TEXT, 66, 8, 188, 14},
    {IDC_FAVORITES, 260, 8, 58, 14},     {IDC_LOCAL, 7, 32, 56, 10},
    {IDC_LOCAL_TEXT, 66, 30, 188, 14},   {IDC_BROWSE_LOCAL, 260, 30, 58, 14},
    {IDC_CDROM, 7, 54, 56, 10},          {IDC_CDROM_TEXT, 66, 52, 188, 14},
    {IDC_BROWSE_CDROM, 260, 52, 58, 14}, {IDOK, 7, 96, 60, 16},
    {IDCANCEL, 72, 96, 60, 16},          {IDC_SHOW_USERS, 258, 96, 60, 16},
    {IDC_PUSH_USERS, 7, 123, 311, 74},   {IDC_SELECT_ALL, 7, 202, 60, 14},
    {IDC_DESELECT_ALL, 72, 202, 60, 14},
};

constexpr int kColumnWidth = 150;

// Which edit and browse button each radio button enables.
struct KindControls
{
    int radio;
    const char16_t *radioText;
    int edit;
    int button;
    const char16_t *buttonText;
};
constexpr KindControls kKinds[]
    = {{IDC_REMOTE, u"&Remote:", IDC_REMOTE_TEXT, IDC_FAVORITES, u"&Favorites..."},
       {IDC_LOCAL, u"&Local:", IDC_LOCAL_TEXT, IDC_BROWSE_LOCAL, u"&Browse..."},
       {IDC_CDROM, u"&CD-ROM:", IDC_CDROM_TEXT, IDC_BROWSE_CDROM, u"B&rowse..."}};

// Each row carries its user's key: namesakes are told apart by it, never by the name shown.
constexpr int kKeyRole = Qt::UserRole;

bool TreeHasUser(const QString &key)
{
    const auto *tree = dynamic_cast<const CVantroTree *>(g_pTree);
    if (!tree)
        return false;
    return std::any_of(tree->Users().begin(), tree->Users().end(),
                       [&key](const auto &user) { return user->m_address == key; });
}

} // namespace

CURLDlg::CURLDlg(QWidget *parent)
    : CDialog(parent)
    , m_list(new QTreeWidget(this))
{
    setWindowTitle(u"Manual Push"_s);
    SetControlId(this, IDD_MANUAL_PUSH);
    SetControlId(m_list, IDC_PUSH_USERS);
    for (const KindControls &kind : kKinds) {
        connect(MakeRadio(this, kind.radio, QString::fromUtf16(kind.radioText)),
                &QAbstractButton::toggled, this, [this] { OnRadio(); });
        MakeEdit(this, kind.edit)->setMaxLength(kMaxChars);
        MakeButton(this, kind.button, QString::fromUtf16(kind.buttonText));
    }
    m_push = MakeButton(this, IDOK, u"Vantro it!"_s);
    static_cast<QPushButton *>(m_push)->setDefault(true);
    QAbstractButton *close = MakeButton(this, IDCANCEL, u"Close"_s);
    QAbstractButton *showUsers = MakeButton(this, IDC_SHOW_USERS, u"&Users >>>"_s);
    QAbstractButton *selectAll = MakeButton(this, IDC_SELECT_ALL, u"Select &All"_s);
    QAbstractButton *deselectAll = MakeButton(this, IDC_DESELECT_ALL, u"&Deselect All"_s);
    PlaceControls();
    connect(m_push, &QAbstractButton::clicked, this, [this] { OnOK(); });
    connect(close, &QAbstractButton::clicked, this, [this] { OnCancel(); });
    connect(showUsers, &QAbstractButton::clicked, this, [this] { OnShowUsers(); });
    connect(selectAll, &QAbstractButton::clicked, this, [this] { SelectAll(true); });
    connect(deselectAll, &QAbstractButton::clicked, this, [this] { SelectAll(false); });
    connect(Control<QAbstractButton>(IDC_FAVORITES), &QAbstractButton::clicked, this,
            [this] { OnFavorites(); });
    connect(Control<QAbstractButton>(IDC_BROWSE_LOCAL), &QAbstractButton::clicked, this,
            [this] { OnBrowseLocal(); });
    connect(Control<QAbstractButton>(IDC_BROWSE_CDROM), &QAbstractButton::clicked, this,
            [this] { OnBrowseCdrom(); });
    connect(&m_enableTimer, &QTimer::timeout, this, [this] { OnEnableTimer(); });
}

void CURLDlg::PlaceControls()
{
    ::PlaceControls(this, kPlacements);
}

void CURLDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetClientHeight(kFoldedHeight);
    Control<QAbstractButton>(IDC_REMOTE)->setChecked(true);
    OnRadio();
    AddUsers();
    for (const int id : {IDC_DESELECT_ALL, IDC_SELECT_ALL, IDC_PUSH_USERS})
        Control<QWidget>(id)->setEnabled(false);
    m_enableTimer.start(kEnableTimerMs);
    OnEnableTimer();
}

void CURLDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_REMOTE_TEXT, m_remoteText, kMaxChars);
    DDX_Text(dx, IDC_LOCAL_TEXT, m_localText, kMaxChars);
    DDX_Text(dx, IDC_CDROM_TEXT, m_cdromText, kMaxChars);
}

// The users the tree knows now, in its order, every one selected; "Info" shows the address, so
// that the operator can tell namesakes apart.
void CURLDlg::AddUsers()
{
    m_list->clear();
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft);
    m_list->setHeaderLabels({u"User"_s, u"Info"_s});
    for (int column = 0; column < m_list->columnCount(); ++column)
        m_list->setColumnWidth(column, kColumnWidth);
    CHeaderClickFilter::Install(m_list);
    if (const auto *tree = dynamic_cast<const CVantroTree *>(g_pTree)) {
        for (const std::unique_ptr<CUserInfo> &user : tree->Users()) {
            auto *row = new QTreeWidgetItem(m_list, QStringList {user->m_name, user->m_address});
            row->setData(0, kKeyRole, user->m_address);
        }
    }
    SelectAll(true);
}

void CURLDlg::SetClientHeight(int dialogUnits)
{
    setFixedSize(DialogUnitsRect(this, 0, 0, kWidth, dialogUnits).size());
}

void CURLDlg::SelectAll(bool selected)
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row)
        m_list->topLevelItem(row)->setSelected(selected);
}

void CURLDlg::OnRadio()
{
    for (const KindControls &kind : kKinds) {
        const bool on = Control<QAbstractButton>(kind.radio)->isChecked();
        Control<QWidget>(kind.edit)->setEnabled(on);
        Control<QWidget>(kind.button)->setEnabled(on);
    }
}

QLineEdit *CURLDlg::ActiveEdit() const
{
    for (const KindControls &kind : kKinds) {
        if (Control<QAbstractButton>(kind.radio)->isChecked())
            return Control<QLineEdit>(kind.edit);
    }
    return nullptr;
}

bool CURLDlg::CanPush() const
{
    const QLineEdit *edit = ActiveEdit();
    return !m_list->selectedItems().isEmpty() && edit && !edit->text().isEmpty();
}

void CURLDlg::OnEnableTimer()
{
    m_push->setEnabled(CanPush());
}

// One way: the list stays shown for the rest of the dialog's life.
void CURLDlg::OnShowUsers()
{
    m_usersListShown = 1;
    Control<QWidget>(IDC_SHOW_USERS)->setEnabled(false);
    for (const int id : {IDC_DESELECT_ALL, IDC_SELECT_ALL, IDC_PUSH_USERS})
        Control<QWidget>(id)->setEnabled(true);
    m_push->setEnabled(!m_list->selectedItems().isEmpty());
    SetClientHeight(kUnfoldedHeight);
    m_list->setFocus();
}

void CURLDlg::FocusEdit(QLineEdit *edit)
{
    edit->setFocus();
    edit->selectAll();
}

void CURLDlg::OnFavorites()
{
    CSelectFavoriteDlg favorites(this);
    if (favorites.DoModal() == IDOK && !favorites.m_address.isEmpty())
        Control<QLineEdit>(IDC_REMOTE_TEXT)->setText(favorites.m_address);
    FocusEdit(Control<QLineEdit>(IDC_REMOTE_TEXT));
}

// The file's name alone: the server serves it from the content folder's top.
void CURLDlg::OnBrowseLocal()
{
    FileDialogRequest request;
    request.m_title = u"Select Local Content"_s;
    request.m_filters = QStringList {u"HTML Files (*.htm; *.html)"_s, u"*.htm;*.html"_s};
    if (g_pSessionDoc)
        request.m_folder = g_pSessionDoc->m_options.m_rootFolder;
    const QString path = ShowFileDialog(request);
    if (!path.isEmpty())
        Control<QLineEdit>(IDC_LOCAL_TEXT)->setText(QFileInfo(path).fileName());
    FocusEdit(Control<QLineEdit>(IDC_LOCAL_TEXT));
}

void CURLDlg::OnBrowseCdrom()
{
    const QString medium = FindCdromMountPoint();
    if (medium.isEmpty())
        TRACE("CURLDlg::OnBrowseCdrom()   -  No CD-ROM drive detected!");
    FileDialogRequest request;
    request.m_title = u"Select CD-ROM Content"_s;
    request.m_folder = medium;
    const QString path = ShowFileDialog(request);
    if (!path.isEmpty())
        Control<QLineEdit>(IDC_CDROM_TEXT)->setText(PathOnMedium(path, medium));
    FocusEdit(Control<QLineEdit>(IDC_CDROM_TEXT));
}

void CURLDlg::OnOK()
{
    if (!CanPush() || !UpdateData(true))
        return;
    Push();
    EndDialog(IDOK);
}

void CURLDlg::Push()
{
    m_contentKind = -1;
    for (const KindControls &kind : kKinds) {
        if (Control<QAbstractButton>(kind.radio)->isChecked())
            m_contentKind = kind.radio;
    }
    bool operatorNavigated = false;
    CPushDispatcher dispatcher;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = m_list->topLevelItem(row);
        if (!item->isSelected())
            continue;
        // A user who left while the dialog was open is skipped.
        const QString key = item->data(0, kKeyRole).toString();
        if (!TreeHasUser(key))
            continue;
        switch (m_contentKind) {
        case IDC_REMOTE:
            if (!operatorNavigated && g_pOperatorWindow)
                g_pOperatorWindow->Navigate(m_remoteText);
            operatorNavigated = true;
            dispatcher.PushUrlToUser(m_remoteText, key);
            break;
        case IDC_LOCAL:
            dispatcher.PushLocalToUser(m_localText, key);
            break;
        case IDC_CDROM:
            dispatcher.PushCdromToUser(m_cdromText, key);
            break;
        default:
            break;
        }
    }
}
