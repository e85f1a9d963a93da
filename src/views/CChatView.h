#pragma once

#include "CView.h"

class CChatMessage;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The chat window's view: the conversation as plain text, one line a message with its time
// and sender, newest at the bottom; an input line and Send below it (Enter sends).
class CChatView : public CView
{
public:
    explicit CChatView(CDocument &document, QWidget *parent = nullptr);

    // The conversation's key: a user's, or empty for everybody.
    QString Key() const;
    // Adds the message at the bottom.
    void Append(const CChatMessage &message);
    // Sends the input line; a refused message stays in it and the window says why.
    void OnSend();

    QPlainTextEdit *Conversation() const { return m_conversation; }
    QLineEdit *Input() const { return m_input; }

protected:
    void OnInitialUpdate() override;

private:
    void AppendLine(const QString &line);

    QPlainTextEdit *m_conversation;
    QLineEdit *m_input;
    QPushButton *m_send;
};
