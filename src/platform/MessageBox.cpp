#include "MessageBox.h"

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

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    Handler() = std::move(handler);
}
