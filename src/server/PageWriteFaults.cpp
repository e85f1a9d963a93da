#include "PageWriteFaults.h"

#include "MessageBox.h"

#include <QCoreApplication>
#include <QMetaObject>

using namespace Qt::StringLiterals;

namespace {

struct Episode
{
    bool open = false;
    int failures = 0;
    QString firstError;
};

Episode &Current()
{
    static Episode episode;
    return episode;
}

QString EpisodeText()
{
    const Episode &episode = Current();
    const QString count = episode.failures == 1
        ? u"1 page could not be written."_s
        : u"%1 pages could not be written."_s.arg(episode.failures);
    return episode.firstError + "\n\n"_L1 + count
        + u" Pushes to the users concerned are not delivered. There is no further message "
          u"until a page can be written again."_s;
}

// Shown once the current notification is over, so that the count includes the writes of the
// same request or push, and a box's nested event loop frees nothing its caller still uses.
void ShowWhenIdle()
{
    const auto show = [] {
        ShowMessageBox(EpisodeText(), MB_OK | MB_ICONEXCLAMATION);
    };
    if (QCoreApplication *application = QCoreApplication::instance())
        QMetaObject::invokeMethod(application, show, Qt::QueuedConnection);
    else
        show();
}

} // namespace

void NotePageWriteFailed(const QString &errorText)
{
    Episode &episode = Current();
    if (episode.open) {
        ++episode.failures;
        return;
    }
    episode = Episode {true, 1, errorText};
    ShowWhenIdle();
}

// The count stays for a box still waiting to show.
void NotePageWriteSucceeded()
{
    Current().open = false;
}

void ForgetPageWriteFaults()
{
    Current() = Episode();
}
