#pragma once

#include <QString>

// Writes of users' pages fail in episodes: a root folder removed or made read-only, a full
// disk. The operator hears of each episode once, with its first file error and how many writes
// have failed by the time the box shows, and again only after a page has been written since.

// A page write failed with the file error's text.
void NotePageWriteFailed(const QString &errorText);
// A page was written: the next failure begins a new episode.
void NotePageWriteSucceeded();
// A new session hears of its own faults, whatever an earlier one left open.
void ForgetPageWriteFaults();
