#pragma once

#include "ConsoleFixture.h"

#include <memory>

class CMainFrame;
class CUsersView;
class CVantroTree;

// A main frame with its navigation tree over the console fixture, and the users window type
// registered, so that the tree, the users window and a session work together off screen.
class ViewsFixture : public ConsoleFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    CVantroTree *Tree() const;
    // Opens a users window through its template; its view, or null.
    CUsersView *OpenUsersWindow();

    std::unique_ptr<CMainFrame> m_frame;
    CDocTemplate *m_usersTemplate = nullptr;
};
