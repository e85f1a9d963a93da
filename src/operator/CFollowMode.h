#pragma once

#include <QString>

#include <optional>

// Follow mode: every navigation the operator's browser is about to make goes to every user.
// It keeps the status bar's "FOLLOW" and "FRAMES" panes, and the last target frame name,
// which lives for the whole run so that only an entry into a framed page warns.
class CFollowMode
{
public:
    // On, and "FOLLOW" in its pane.
    CFollowMode();

    bool IsOn() const { return m_bFollow; }

    // Pushes the address to every user while on, unless told not to. True when the navigation
    // enters a framed page from a top-level one, so that the operator is warned once.
    bool OnBeforeNavigate2(const QString &url, const QString &targetFrameName, bool push);
    // Turning it on pushes the current page unless it was the last address pushed or the
    // browser is blank.
    void Toggle(const QString &currentAddress);
    // The status-bar prompt of the Follow Mode command.
    QString TogglePrompt() const;

    // Unset until follow mode saw its first navigation.
    static const std::optional<QString> &LastTargetFrameName();

private:
    bool m_bFollow = true;
};

// True when a user is logged on; read under the user-table lock.
bool AnyUserConnected();
// Sets a status-bar pane of the main window, when there is one.
void SetStatusPane(int id, const QString &text);
