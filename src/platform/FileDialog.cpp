#include "FileDialog.h"

namespace {

FileDialogHandler &Handler()
{
    static FileDialogHandler handler;
    return handler;
}

} // namespace

QString ShowFileDialog(const FileDialogRequest &request)
{
    const auto &handler = Handler();
    return handler ? handler(request) : QString();
}

void SetFileDialogHandler(FileDialogHandler handler)
{
    Handler() = std::move(handler);
}
