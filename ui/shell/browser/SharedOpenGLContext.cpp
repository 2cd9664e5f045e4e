// SPDX-License-Identifier: MIT
#include "ui/shell/browser/SharedOpenGLContext.h"

#include <QGuiApplication>
#include <QOpenGLContext>
#include <QString>
#include <QSurfaceFormat>

// QtGui's own setter of the context shared by all windows; exported, but kept out of its public
// headers. The getter is public as QOpenGLContext::globalShareContext().
void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace quillmark::ui {

namespace {

QOpenGLContext* ownContext = nullptr;
QtMessageHandler previousHandler = nullptr;

// Qt warns that the attribute belongs before the application object; here it is set late on
// purpose, together with the context it stands for, so that one warning is dropped.
void dropLateAttributeWarning(QtMsgType type, const QMessageLogContext& context,
                              const QString& message) {
    const auto lateAttribute = QLatin1String("Attribute Qt::AA_ShareOpenGLContexts");
    if (type == QtWarningMsg && message.startsWith(lateAttribute)) return;
    if (previousHandler) previousHandler(type, context, message);
}

void setShareAttributeQuietly() {
    previousHandler = qInstallMessageHandler(dropLateAttributeWarning);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    qInstallMessageHandler(previousHandler);
}

// Runs as the application object goes, before the window system is shut down, and after the web
// engine's own clean-up (which was registered later).
void deleteOwnContext() {
    if (QOpenGLContext::globalShareContext() == ownContext) qt_gl_set_global_share_context(nullptr);
    delete ownContext;
    ownContext = nullptr;
}

}  // namespace

bool ensureSharedOpenGLContext() {
    if (QOpenGLContext* existing = QOpenGLContext::globalShareContext()) return existing->isValid();
    // Without a window system there is nothing to draw with, nor a page to show.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;

    // What Qt does at start-up for Qt::AA_ShareOpenGLContexts: the default format, and the
    // context set as the shared one even when it could not be made.
    ownContext = new QOpenGLContext;
    ownContext->setFormat(QSurfaceFormat::defaultFormat());
    const bool created = ownContext->create();
    qt_gl_set_global_share_context(ownContext);
    qAddPostRoutine(deleteOwnContext);
    // Qt's OpenGL-drawn widgets, the page view among them, share with that context from now on.
    setShareAttributeQuietly();
    return created;
}

}  // namespace quillmark::ui
