// SPDX-License-Identifier: MIT
#pragma once

namespace quillmark::ui {

// The web engine draws its pages through an OpenGL context that every window of the program
// shares. Qt makes that context at start-up when asked before the application object exists,
// which loads the OpenGL driver at every start, browser or not; this makes it on first need
// instead. Call it on the user-interface thread, with the application object alive, before the
// browser module is loaded.
//
// Returns false when the system offers no working OpenGL: a context is then still in place, as Qt
// itself leaves one, and the engine draws its pages in software.
bool ensureSharedOpenGLContext();

}  // namespace quillmark::ui
