#pragma once

#include <QString>

#include <optional>

// What the update pass learns about one command: whether it is enabled, checked and what its
// menu text is. Only what a handler set is applied; the rest of the item stays as it was.
struct CCmdUI
{
    explicit CCmdUI(int id)
        : m_nID(id)
    { }

    void Enable(bool on = true) { m_enabled = on; }
    void SetCheck(bool on = true) { m_checked = on; }
    void SetText(const QString &text) { m_text = text; }

    int m_nID;
    std::optional<bool> m_enabled;
    std::optional<bool> m_checked;
    std::optional<QString> m_text;
};
