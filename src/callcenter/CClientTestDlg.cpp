#include "CClientTestDlg.h"

#include "CDataExchange.h"
#include "CDozoZedDoc.h"
#include "ClientLaunch.h"
#include "DialogControls.h"
#include "HeaderClickFilter.h"
#include "LocalHost.h"
#include "MessageBox.h"
#include "ResourceIds.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

// Dialog units; the labels sit before their edits.
constexpr DialogPlacement kPlacements[] = {
    {IDC_CLIENT_NAME, 36, 7, 110, 14},     {IDC_ADD_CLIENT, 152, 7, 50, 14},
    {IDC_CLIENT_LIST, 7, 27, 139, 108},    {IDC_LAUNCH_CLIENTS, 152, 27, 50, 14},
    {IDC_REMOVE_CLIENTS, 152, 45, 50, 14}, {IDCANCEL, 152, 121, 50, 14},
    {IDC_CLIENT_PORT, 36, 141, 40, 14},    {IDC_LAUNCH_STATUS, 7, 160, 195, 10},
};
constexpr int kClientWidth = 209;
constexpr int kClientHeight = 176;

// The wait cursor for as long as the launch runs.
class CWaitCursor
{
public:
    CWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor &) = delete;
    CWaitCursor &operator=(const CWaitCursor &) = delete;
};

} // namespace

CClientTestDlg::CClientTestDlg(QWidget *parent)
    : CDialog(parent)
    , m_client(MakeEdit(this, IDC_CLIENT_NAME))
    , m_list(new QTreeWidget(this))
    , m_status(new QLabel(this))
{
    setWindowTitle(u"Launch Client(s)"_s);
    SetControlId(this, IDD_CLIENT_TEST);
    SetControlId(m_list, IDC_CLIENT_LIST);
    SetControlId(m_status, IDC_LAUNCH_STATUS);
    m_status->setTextFormat(Qt::PlainText);
    QLineEdit *port = MakeEdit(this, IDC_CLIENT_PORT);
    auto *add = static_cast<QPushButton *>(MakeButton(this, IDC_ADD_CLIENT, u"&Add"_s));
    add->setDefault(true);
    QAbstractButton *launch = MakeButton(this, IDC_LAUNCH_CLIENTS, u"&Launch"_s);
    QAbstractButton *remove = MakeButton(this, IDC_REMOVE_CLIENTS, u"&Remove"_s);
    QAbstractButton *close = MakeButton(this, IDCANCEL, u"Close"_s);
    const struct
    {
        const char16_t *text;
        QWidget *buddy;
    } labels[] = {{u"&Client:", m_client}, {u"&Port", port}};
    for (const auto &label : labels) {
        auto *text = new QLabel(QString::fromUtf16(label.text), this);
        text->setBuddy(label.buddy);
        text->setGeometry(DialogUnitsRect(this, 7, label.buddy == port ? 143 : 9, 28, 10));
    }
    PlaceControls();
    setFixedSize(DialogUnitsRect(this, 0, 0, kClientWidth, kClientHeight).size());
    connect(m_client, &QLineEdit::textChanged, this,
            [add](const QString &text) { add->setEnabled(!text.isEmpty()); });
    connect(add, &QAbstractButton::clicked, this, [this] { OnAddClient(); });
    connect(launch, &QAbstractButton::clicked, this, [this] { OnLaunchClients(); });
    connect(remove, &QAbstractButton::clicked, this, [this] { OnRemoveClients(); });
    connect(close, &QAbstractButton::clicked, this, [this] { OnCancel(); });
    connect(m_list, &QTreeWidget::itemClicked, this, [this] { OnEnableTimer(); });
    connect(&m_enableTimer, &QTimer::timeout, this, [this] { OnEnableTimer(); });
}

void CClientTestDlg::PlaceControls()
{
    ::PlaceControls(this, kPlacements);
}

void CClientTestDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->header()->setSectionsMovable(true);
    m_list->header()->setDefaultAlignment(Qt::AlignLeft);
    CHeaderClickFilter::Install(m_list);
    m_list->setHeaderLabels({u"Client"_s});
    m_list->setColumnWidth(0, m_list->width() - 2 * m_list->frameWidth() - 10);
    for (const int id : {IDC_ADD_CLIENT, IDC_LAUNCH_CLIENTS, IDC_REMOVE_CLIENTS})
        Control<QWidget>(id)->setEnabled(false);
    m_enableTimer.start(kEnableTimerMs);
}

void CClientTestDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_CLIENT_PORT, m_port);
}

bool CClientTestDlg::AnySelected() const
{
    return !m_list->selectedItems().isEmpty();
}

void CClientTestDlg::OnEnableTimer()
{
    const bool any = AnySelected();
    Control<QWidget>(IDC_LAUNCH_CLIENTS)->setEnabled(any);
    Control<QWidget>(IDC_REMOVE_CLIENTS)->setEnabled(any);
}

// A name that begins another row's name, whatever the case, counts as that row.
void CClientTestDlg::OnAddClient()
{
    const QString client = m_client->text();
    if (client.isEmpty())
        return;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        if (m_list->topLevelItem(row)->text(0).startsWith(client, Qt::CaseInsensitive)) {
            ShowMessageBox(u"Client already exists"_s);
            return;
        }
    }
    m_list->insertTopLevelItem(0, new QTreeWidgetItem(QStringList {client}));
}

void CClientTestDlg::OnRemoveClients()
{
    for (int row = m_list->topLevelItemCount() - 1; row >= 0; --row) {
        if (m_list->topLevelItem(row)->isSelected())
            delete m_list->topLevelItem(row);
    }
    OnEnableTimer();
}

void CClientTestDlg::OnLaunchClients()
{
    const CWaitCursor wait;
    const LocalHostLookup host = LookUpLocalHost();
    if (!host.m_ok) {
        ShowMessageBox(u"WARNING: Your network connection is not active! (%1)"_s.arg(host.m_error),
                       MB_ICONEXCLAMATION);
        return;
    }
    // Where users join: a session on another port is reached there.
    const int served = g_pSessionDoc ? g_pSessionDoc->ServedPort() : 80;
    const QByteArray text = HttpAddress(host.m_address, served).toLatin1();
    const int port = LeadingPort(Control<QLineEdit>(IDC_CLIENT_PORT)->text());
    // The rows stay put while the launch runs: the local loop takes no input.
    for (int row = m_list->topLevelItemCount() - 1; row >= 0; --row) {
        const QTreeWidgetItem *item = m_list->topLevelItem(row);
        if (item->isSelected() && !LaunchOne(item->text(0).left(kMaxMachineName), port, text))
            break;
    }
    m_status->clear();
}

bool CClientTestDlg::LaunchOne(const QString &machine, int port, const QByteArray &text)
{
    const LaunchOutcome outcome = LaunchClient(machine, port, text, [this](const QString &status) {
        m_status->setText(status);
        m_status->repaint();
    });
    switch (outcome.m_result) {
    case LaunchResult::Launched:
        return true;
    case LaunchResult::NoSocket:
        ShowMessageBox(u"Could not launch client %1 (-1)"_s.arg(machine));
        return true;
    case LaunchResult::NoConnection:
        ShowMessageBox(u"Could not launch client %1 (-2)"_s.arg(machine));
        return true;
    case LaunchResult::WriteFailed:
        ShowMessageBox(outcome.m_error, MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}
