#include "CInviteUsersDlg.h"

#include "CUserTable.h"
#include "PrintSetup.h"
#include "QrCode.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

CInviteUsersDlg::CInviteUsersDlg(const LocalHostLookup &host, int port, QWidget *parent)
    : CDialog(parent)
    , m_address(HttpAddress(host.m_address, port))
{
    setWindowTitle(u"Invite Users"_s);
    for (const QString &other : host.m_all.mid(1))
        m_otherAddresses.append(HttpAddress(other, port));
    m_reachText = host.m_ok
        ? u"Up to %1 users can join at once."_s.arg(CUserTable::kCapacity)
        : u"Nobody else can reach this machine: it has no network address but loopback."_s;

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        AddLabel(u"Users join by opening this address in their web browser:"_s, u"intro"_s));
    QLabel *address = AddLabel(m_address, u"address"_s);
    QFont large = address->font();
    large.setPointSizeF(large.pointSizeF() * 2.5);
    large.setBold(true);
    address->setFont(large);
    address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(address, 0, Qt::AlignHCenter);
    auto *code = new QLabel(this);
    code->setObjectName(u"qrCode"_s);
    code->setPixmap(QPixmap::fromImage(QrCodeImage(m_address.toUtf8(), kModulePixels)));
    layout->addWidget(code, 0, Qt::AlignHCenter);
    if (!m_otherAddresses.isEmpty()) {
        layout->addWidget(AddLabel(u"Users on another network of this machine join at:\n"_s
                                       + m_otherAddresses.join(u'\n'),
                                   u"otherAddresses"_s));
    }
    layout->addWidget(AddLabel(m_reachText, u"reach"_s));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *copy = buttons->addButton(u"&Copy Address"_s, QDialogButtonBox::ActionRole);
    copy->setObjectName(u"copy"_s);
    QPushButton *print = buttons->addButton(u"&Print..."_s, QDialogButtonBox::ActionRole);
    print->setObjectName(u"print"_s);
    layout->addWidget(buttons);
    connect(copy, &QPushButton::clicked, this, [this] { OnCopy(); });
    connect(print, &QPushButton::clicked, this, [this] { OnPrint(); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { OnCancel(); });
}

// Names come from this machine only, yet shown as plain text like every label.
QLabel *CInviteUsersDlg::AddLabel(const QString &text, const QString &name)
{
    auto *label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(name);
    return label;
}

void CInviteUsersDlg::OnCopy()
{
    QGuiApplication::clipboard()->setText(m_address);
}

void CInviteUsersDlg::OnPrint()
{
    QPrintDialog dialog(&ApplicationPrinter(), this);
    if (dialog.exec() == QDialog::Accepted)
        Print(ApplicationPrinter());
}

void CInviteUsersDlg::Print(QPrinter &printer) const
{
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    QFont font = painter.font();
    font.setPointSize(14);
    painter.setFont(font);
    QRect line(page.left(), page.top(), page.width(), page.height() / 12);
    painter.drawText(line, Qt::AlignCenter, u"Join the presentation: open this address"_s);
    font.setPointSize(32);
    font.setBold(true);
    painter.setFont(font);
    line.translate(0, line.height());
    painter.drawText(line, Qt::AlignCenter, m_address);
    // The code fills half the page's width, in whole modules so that it scans cleanly.
    const QImage code = QrCodeImage(m_address.toUtf8(), 1);
    const int side = code.width() * std::max(1, page.width() / 2 / std::max(1, code.width()));
    const QRect codeRect(page.left() + (page.width() - side) / 2, line.bottom() + line.height() / 2,
                         side, side);
    painter.drawImage(codeRect, code);
    font.setPointSize(12);
    font.setBold(false);
    painter.setFont(font);
    const QRect rest(page.left(), codeRect.bottom() + line.height() / 2, page.width(),
                     page.bottom() - codeRect.bottom());
    QStringList lines;
    if (!m_otherAddresses.isEmpty())
        lines << u"On another network:"_s << m_otherAddresses;
    lines << m_reachText;
    painter.drawText(rest, Qt::AlignHCenter | Qt::AlignTop, lines.join(u'\n'));
}
