#include "SocketErrorBox.h"

#include "MessageBox.h"

using namespace Qt::StringLiterals;

void ReportSocketError(const QString &text)
{
    static bool pending = false;
    if (pending)
        return;
    pending = true;
    ShowMessageBoxLater(text, MB_OK | MB_ICONINFORMATION,
                        u"There was an Internet Socket Error Encountered!"_s,
                        [] { pending = false; });
}
