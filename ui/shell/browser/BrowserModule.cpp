// SPDX-License-Identifier: MIT
#include "ui/shell/browser/BrowserModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

#include "ui/shell/browser/SharedOpenGLContext.h"

namespace quillmark::ui {

namespace {
const char* const kModuleDirVariable = "QUILLMARK_BROWSER_MODULE_DIR";
const QString kModuleName = QStringLiteral("quillmark_webengine");
}  // namespace

QString browserModuleDirectory() {
    const QString overridden = qEnvironmentVariable(kModuleDirVariable);
    if (!overridden.isEmpty()) return overridden;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                           QStringLiteral(QUILLMARK_MODULE_RELATIVE_DIR));
}

platform::BrowserEngineFactory* loadBrowserEngineFactory(QString* error) {
    // The module stays loaded: engines it made live in windows until the program ends.
    static platform::BrowserEngineFactory* factory = nullptr;
    if (factory) return factory;

    // The engine takes the shared OpenGL context as it is loaded, and cannot start without one.
    ensureSharedOpenGLContext();
    const QString path = browserModuleDirectory() + QLatin1Char('/') + kModuleName;
    auto* loader = new QPluginLoader(path, QCoreApplication::instance());
    QObject* instance = loader->instance();
    factory = qobject_cast<platform::BrowserEngineFactory*>(instance);
    if (factory) return factory;

    if (error) {
        *error = QStringLiteral("%1: %2").arg(
            QDir::toNativeSeparators(path),
            instance ? QStringLiteral("not a Quillmark browser module") : loader->errorString());
    }
    if (instance) loader->unload();
    loader->deleteLater();
    return nullptr;
}

}  // namespace quillmark::ui
