#pragma once

#include <QString>

#include <functional>

// Button sets and icons, combined with "|" as in the program's message boxes.
enum MessageBoxStyle : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONSTOP = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
};

// The button that closed a box.
enum MessageBoxAnswer : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct MessageBoxRequest
{
    QString text;
    QString caption; // empty: the program's name
    unsigned style = MB_OK;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest &)>;

// Shows a message box through the installed handler and returns the answer. Texts are plain
// text: user names and remote fields must never be read as markup.
int ShowMessageBox(const QString &text, unsigned style = MB_OK, const QString &caption = {});

// Shows the box from the event loop once the current notification is over, for code that runs
// under a socket handler or the user-table lock: a box's nested event loop could free what
// that code still uses, and would hold the lock for as long as the box is open. Without an
// event loop there is nothing to wait for and the box is shown at once.
void ShowMessageBoxLater(const QString &text, unsigned style = MB_OK, const QString &caption = {},
                         std::function<void()> whenAnswered = {});

// The GUI installs a real box; tests install a scripted answerer so that nothing blocks.
// Without a handler the text goes to standard error and the box is answered with its first
// button (OK or Yes).
void SetMessageBoxHandler(MessageBoxHandler handler);
