#pragma once

#include "ConsoleFixture.h"

#include <QStringList>

#include <functional>
#include <memory>

class CDozoZedView;
class CMainFrame;
class COperatorView;

// A session serving a temporary root with plain and framed pages over loopback, the main
// window with its status panes, the activity list and one user logged on from 127.0.0.2.
// The operator window is opened through its own window type.
class OperatorFixture : public ConsoleFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the operator window and waits until its first page (by default the session's
    // welcome page) has loaded; null when it did not.
    COperatorView *OpenOperatorWindow(const QString &firstPage = {});
    // The address of a page of the session's root.
    QString Url(const QString &page) const;
    // Navigates and waits until the page and all its frames have loaded.
    void Load(const QString &address);
    // Addresses pushed to every user, oldest first.
    QStringList Pushes() const;
    QString PaneText(int id) const;

    CDozoZedDoc *m_document = nullptr;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CDozoZedView> m_activity;
    CDocTemplate *m_operatorTemplate = nullptr;
    COperatorView *m_view = nullptr;
};
