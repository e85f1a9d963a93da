#pragma once

#include <QByteArrayView>
#include <QString>

class CRequestSocket;

// The display name a logon query gives: "Mr. " or "Ms. " from the two characters after
// "?sex=", then the text between "alias=" and "&C", with every "+" turned into a space.
QString ParseLogonName(QByteArrayView url);

// Enters the connection's client in the user table when its request is a logon, writes its
// pages and points the request at the greeting page; a full table points it at the busy page.
// False when the pages cannot be written.
bool LogonStep(CRequestSocket &connection);

// The request path of the user's control page, "/VS" + key + ".htm".
QByteArray ControlPagePath(const QString &key);

// A request for the client's own control page is the sign of life that keeps a user.
void NoteControlPagePoll(const CRequestSocket &connection);

// The control window's reports, from the user's own address: "/VX" + key + ".htm" when a push
// found no main window to move, "/VR" + key + ".htm" when the user opened one again from the
// link. Either is a sign of life, tells the windows, and is answered with the control page.
void DeliveryReportStep(CRequestSocket &connection);

// Drops every user whose control page has not been polled for seven refresh periods; a user
// whose poll is being held is polling.
void SweepTimedOutUsers();
