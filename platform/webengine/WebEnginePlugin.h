// SPDX-License-Identifier: MIT
#pragma once
#include <QObject>

#include "platform/BrowserEngine.h"

namespace quillmark::platform {

// The module's entry point: loaded by the window program the first time a browser window opens,
// so that the main window never pays for the web engine.
class WebEnginePlugin final : public QObject, public BrowserEngineFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QuillmarkBrowserEngineFactory_iid FILE "webengine.json")
    Q_INTERFACES(quillmark::platform::BrowserEngineFactory)

public:
    WebEnginePlugin();
    std::unique_ptr<BrowserEngine> createEngine() override;
};

}  // namespace quillmark::platform
