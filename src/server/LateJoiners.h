#pragma once

#include <QString>

// Users who log on after the operator pushed a page to everybody are brought to that page.

// The last address pushed to every user; a new session starts without one.
void NoteLastPushToAll(const QString &address);
void ForgetLastPushToAll();
QString LastPushToAll();

// Run once a new user's welcome page has been delivered: with the session's setting on, the
// last page pushed to everybody is pushed to that user, with its own activity row.
void BringLateJoiner(const QString &key);
