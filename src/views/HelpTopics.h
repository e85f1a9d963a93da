#pragma once

class QTextBrowser;

// The program's help: small pages built into the program, one per help context, shown in one
// help window owned by the main window.
// Shows the topic of the context and returns the help window; null when the program has no
// topic for it.
QTextBrowser *ShowHelpTopic(int context);
// The contents page: what the operator does, task by task.
QTextBrowser *ShowHelpContents();
