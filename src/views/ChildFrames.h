#pragma once

class QMdiSubWindow;

// Brings a document window to the front of the main frame's windows, restoring it when it was
// minimised.
void ActivateFrame(QMdiSubWindow *frame);
