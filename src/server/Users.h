#pragma once

#include <QByteArrayView>
#include <QString>

#include <functional>

class CPageSet;
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
// link. Either is a sign of life, tells the windows, and is answered with the control page. One
// loss report counts for each delivered push; a repeat, or one before anything was delivered,
// changes nothing.
void DeliveryReportStep(CRequestSocket &connection);

// Runs a write of the user's control page (the user must have pages) and tells the windows when
// the page stops being written, and when it is written again. Returns the write's result.
int WriteUserControlPage(CRequestSocket &user, const std::function<int(CPageSet &)> &write);

// The request is a logged-on user's poll of its own control page.
bool IsUsersControlPagePoll(const CRequestSocket &connection);
// Before a user's poll is answered from the control page's file: the file is written again when
// it is stale or gone. False when it still does not hold the page.
bool RestoreControlPage(const CRequestSocket &connection);

// Drops every user whose control page has not been polled for seven refresh periods; a user
// whose poll is being held is polling.
void SweepTimedOutUsers();
