#include "platform/webengine/WebEnginePlugin.h"

#include "platform/webengine/WebEngineBrowser.h"

namespace quillmark::platform {

std::unique_ptr<BrowserEngine> WebEnginePlugin::createEngine() {
    return std::make_unique<WebEngineBrowser>();
}

}  // namespace quillmark::platform
