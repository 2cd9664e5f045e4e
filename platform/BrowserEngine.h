// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <QtPlugin>
#include <functional>
#include <memory>

class QWidget;

namespace quillmark::platform {

// The embedded web browser of a browser window: what the window asks of it and the two events it
// reports. Actions the browser cannot carry out (Back with nothing to go back to) do nothing.
class BrowserEngine {
public:
    struct Events {
        std::function<void()> downloadComplete;
        // A navigation to a document has completed; locationAddress() tells where it ended.
        std::function<void()> navigateComplete;
    };

    virtual ~BrowserEngine() = default;

    // The page view. The window places it; the engine deletes it when the engine goes.
    virtual QWidget* widget() = 0;
    // Events are delivered on the user-interface thread until the engine is destroyed.
    virtual void setEvents(Events events) = 0;

    // Reads the text as a user means it ("example.com" is a web address).
    virtual void navigate(const QString& address) = 0;
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void goHome() = 0;
    virtual void goSearch() = 0;
    virtual void refresh() = 0;
    virtual void stop() = 0;

    virtual bool busy() const = 0;
    // The current page's title.
    virtual QString locationName() const = 0;
    // The current page's address as the browser reports it.
    virtual QString locationAddress() const = 0;
};

// What the browser module offers: a new, independent engine per browser window.
class BrowserEngineFactory {
public:
    virtual ~BrowserEngineFactory() = default;
    virtual std::unique_ptr<BrowserEngine> createEngine() = 0;
};

}  // namespace quillmark::platform

#define QuillmarkBrowserEngineFactory_iid "org.quillmark.BrowserEngineFactory/1"
Q_DECLARE_INTERFACE(quillmark::platform::BrowserEngineFactory, QuillmarkBrowserEngineFactory_iid)
