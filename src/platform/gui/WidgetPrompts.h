#pragma once

// Routes message boxes and file dialogs to real windows: a QMessageBox with plain text (never
// markup, since user names come from remote browsers) and a QFileDialog.
void InstallWidgetPrompts();
