#pragma once

#include <QString>

// The content folder a session serves when the profile names none: a folder of the user's
// own, made and seeded with the sample pages on first use. Existing files are left alone.
QString PrepareDefaultContent();
