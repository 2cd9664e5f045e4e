// Placeholder until the browser window exists: the Web menu has nothing to open yet.
#include "ui/shell/browser/OpenBrowser.h"

namespace quillmark::ui {

void PrepareBrowserEngine() {}

void OpenBrowserWindow(const QString&, platform::WindowList&) {}

}  // namespace quillmark::ui
