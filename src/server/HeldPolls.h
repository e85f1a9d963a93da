#pragma once

#include <QString>

class CRequestSocket;

// Control-page polls held open while their user has nothing to receive, so that a push is
// answered the moment it is made instead of at the next poll. GUI thread only; the calls that
// answer do so from the event loop, never inside the caller's own steps.

// Holds the poll for the user; an earlier poll of the same user is answered at once.
void HoldPoll(const QString &key, CRequestSocket *poll);
// The poll is being answered or has gone; it is held no more.
void ForgetHeldPoll(const CRequestSocket *poll);
bool HasHeldPoll(const QString &key);
// Answers the user's held poll with the control page as it now is.
void AnswerHeldPoll(const QString &key);
// At session stop: every held poll is answered.
void AnswerAllHeldPolls();
