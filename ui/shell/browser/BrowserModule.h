// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

#include "platform/BrowserEngine.h"

namespace quillmark::ui {

// Where the window program looks for the browser module: the folder named by the environment
// variable QUILLMARK_BROWSER_MODULE_DIR, else its place relative to the program file.
QString browserModuleDirectory();

// Loads the browser module on the first call and keeps it loaded for the program's life.
// Returns null and the reason in *error when it cannot be loaded; a later call tries again.
platform::BrowserEngineFactory* loadBrowserEngineFactory(QString* error);

}  // namespace quillmark::ui
