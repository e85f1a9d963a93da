#pragma once

#include "CDocument.h"

class CUserInfo;

// The users window's document: it holds no data, and passes the navigation tree's news about
// users on to its view.
class CUsersDoc : public CDocument
{
    Q_OBJECT
public:
    // What the tree tells the view, with the user's record as the hint object.
    enum Hint { HINT_USER_ADDED = 101, HINT_USER_REMOVED = 102, HINT_USER_STATE = 103 };

    CUsersDoc();

    bool OnNewDocument() override;
    // The record is read during the call only.
    void UpdateAllViews(int hint, const CUserInfo *user);

Q_SIGNALS:
    void Update(int hint, const CUserInfo *user);
};
