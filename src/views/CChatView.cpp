#include "CChatView.h"

#include "CChatDoc.h"
#include "CChatStore.h"
#include "ChatRequests.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

using namespace Qt::StringLiterals;

CChatView::CChatView(CDocument &document, QWidget *parent)
    : CView(document, parent)
    , m_conversation(new QPlainTextEdit(this))
    , m_input(new QLineEdit(this))
    , m_send(new QPushButton(u"&Send"_s, this))
{
    // Plain text only: what users write is never read as markup.
    m_conversation->setReadOnly(true);
    m_conversation->setUndoRedoEnabled(false);
    // Typing goes to the input line whenever the window is in front; the text is still
    // selected with the mouse and copied from its menu.
    m_conversation->setFocusPolicy(Qt::NoFocus);
    m_input->setMaxLength(CChatStore::kMaxCharacters);
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_conversation, 0, 0, 1, 2);
    layout->addWidget(m_input, 1, 0);
    layout->addWidget(m_send, 1, 1);
    setFocusProxy(m_input);
    connect(m_input, &QLineEdit::returnPressed, this, [this] { OnSend(); });
    connect(m_send, &QPushButton::clicked, this, [this] { OnSend(); });
}

QString CChatView::Key() const
{
    const auto *chat = dynamic_cast<const CChatDoc *>(GetDocument());
    return chat ? chat->Key() : QString();
}

void CChatView::OnInitialUpdate()
{
    for (const CChatMessage &message : g_chatStore.Conversation(Key()))
        Append(message);
}

void CChatView::Append(const CChatMessage &message)
{
    const QString time = u'[' + message.m_time.toString(u"HH:mm:ss"_s) + "] "_L1;
    if (message.m_sender == CChatMessage::Notice)
        AppendLine(time + message.m_text);
    else
        AppendLine(time + message.m_senderName + ": "_L1 + message.m_text);
}

void CChatView::AppendLine(const QString &line)
{
    m_conversation->appendPlainText(line);
    m_conversation->verticalScrollBar()->setValue(m_conversation->verticalScrollBar()->maximum());
}

void CChatView::OnSend()
{
    const QString text = m_input->text();
    const QString refused = PostOperatorChat(Key(), text);
    if (refused.isEmpty())
        m_input->clear();
    else
        AppendLine(refused);
}
