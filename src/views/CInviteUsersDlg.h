#pragma once

#include "CDialog.h"
#include "LocalHost.h"

class QLabel;
class QPainter;
class QPrinter;
class QPushButton;

// "Invite Users": the address users join the session at, large, with a button that copies it,
// its QR code for phones, every other address of this machine for users on another of its
// networks, and a printout of all that to hand round or pin up.
class CInviteUsersDlg : public CDialog
{
public:
    // Pixels per module of the QR code on screen.
    static constexpr int kModulePixels = 6;

    CInviteUsersDlg(const LocalHostLookup &host, int port, QWidget *parent = nullptr);

    QString JoinAddress() const { return m_address; }
    // The join address on the clipboard.
    void OnCopy();
    // Asks for the printer, then prints.
    void OnPrint();
    // One page: the address, the QR code and the other addresses.
    void Print(QPrinter &printer) const;

private:
    QLabel *AddLabel(const QString &text, const QString &name);

    QString m_address;
    QStringList m_otherAddresses;
    QString m_reachText;
};
