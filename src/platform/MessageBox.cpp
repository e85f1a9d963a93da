#include "MessageBox.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <cstdio>

namespace {

MessageBoxHandler &Handler()
{
    static MessageBoxHandler handler;
    return handler;
}

int AnswerOnConsole(const MessageBoxRequest &request)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(request.text));
    switch (request.style & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    default:
        return IDOK;
    }
}

} // namespace

int ShowMessageBox(const QString &text, unsigned style, const QString &caption)
{
    const MessageBoxRequest request {text, caption, style};
    const auto &handler = Handler();
    return handler ? handler(request) : AnswerOnConsole(request);
}

void ShowMessageBoxLater(const QString &text, unsigned style, const QString &caption,
                         std::function<void()> whenAnswered)
{
    auto show = [text, style, caption, whenAnswered = std::move(whenAnswered)] {
        ShowMessageBox(text, style, caption);
        if (whenAnswered)
            whenAnswered();
    };
    QCoreApplication *application = QCoreApplication::instance();
    if (application)
        QMetaObject::invokeMethod(application, std::move(show), Qt::QueuedConnection);
    else
        show();
}

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    Handler() = std::move(handler);
}
