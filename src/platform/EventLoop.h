#pragma once

// Chooses Qt's own event dispatcher over the GLib one for the process, unless the environment
// already says which to use. Every HTTP connection registers and drops socket notifiers and
// posts deferred deletions, and the GLib dispatcher pays an extra wake-up for each of them: it
// serves small files about a fifth slower. Call before the application object is made. GTK's
// native dialogs need the GLib loop, so a program with dialogs also turns them off.
void PreferQtEventDispatcher();
