// SPDX-License-Identifier: MIT
#include "platform/webengine/WebEnginePlugin.h"

#include <QOpenGLContext>
#include <QQuickWindow>
#include <QSGRendererInterface>

#include "platform/webengine/WebEngineBrowser.h"

namespace quillmark::platform {

namespace {

// The page view draws through Qt Quick, on OpenGL by default. Where the window program could
// make no OpenGL context (a system or remote display without OpenGL), that view would end the
// program as it is first drawn; Qt Quick's software drawing shows the pages instead. The choice
// holds for the program's life, so it is made as the module is loaded, before any page view.
void chooseHowPagesAreDrawn() {
    const QOpenGLContext* shared = QOpenGLContext::globalShareContext();
    if (shared && shared->isValid()) return;
    if (QQuickWindow::graphicsApi() != QSGRendererInterface::OpenGL) return;
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

}  // namespace

WebEnginePlugin::WebEnginePlugin() { chooseHowPagesAreDrawn(); }

std::unique_ptr<BrowserEngine> WebEnginePlugin::createEngine() {
    return std::make_unique<WebEngineBrowser>();
}

}  // namespace quillmark::platform
