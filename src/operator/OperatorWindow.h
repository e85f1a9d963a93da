#pragma once

#include <memory>

class CDocTemplate;

// The operator window type: document, frame and view, opened into the main frame.
std::unique_ptr<CDocTemplate> MakeOperatorTemplate();

// Run before the QApplication is made: turns the browser engine's sandbox off when the program
// runs as root (the engine refuses to start otherwise), and lets the application register the
// operator window type.
void PrepareOperatorWindow();
