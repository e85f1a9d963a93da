#pragma once

#include "CDocument.h"

// The chat window's document: the conversation with one user, by the user's key, or with
// everybody (an empty key). The messages live in the session's chat store; the document stores
// nothing and never becomes modified, so closing its window asks nothing.
class CChatDoc : public CDocument
{
public:
    explicit CChatDoc(const QString &key)
        : m_key(key)
    { }

    // Titled after the conversation: "Chat - Ms. Ann Lee (10.0.0.7)" or "Chat - All Clients".
    bool OnNewDocument() override;

    const QString &Key() const { return m_key; }

private:
    QString m_key;
};
