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
//
// Busy: a page engine starts loading some time after it is asked to (it answers through its
// event queue), so busy() counts a navigation as begun the moment it is requested, and as over
// once the engine has started loading it (from then on its own loading flag tells), or when it
// is stopped, or when the engine reports that it has ended without loading anything.
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
    void navigate(const QString& address) { request(startNavigate(address)); }
    void goBack() { request(startBack()); }
    void goForward() { request(startForward()); }
    void goHome() { request(startHome()); }
    void goSearch() { request(startSearch()); }
    void refresh() { request(startRefresh()); }
    void stop() {
        requested_ = false;
        stopLoading();
    }

    bool busy() const { return requested_ || loading(); }
    // The current page's title.
    virtual QString locationName() const = 0;
    // The current page's address as the browser reports it.
    virtual QString locationAddress() const = 0;

protected:
    // Each asks the page engine to begin a navigation and says whether it did; false when there
    // was nothing to do (no page to go back to, an address that is no address).
    virtual bool startNavigate(const QString& address) = 0;
    virtual bool startBack() = 0;
    virtual bool startForward() = 0;
    virtual bool startHome() = 0;
    virtual bool startSearch() = 0;
    virtual bool startRefresh() = 0;
    virtual void stopLoading() = 0;
    // The page engine's own loading flag, set while it loads.
    virtual bool loading() const = 0;

    // The engine calls this when the requested navigation has started loading, or has ended
    // without any load (a move inside the page, a refused address).
    void requestAnswered() { requested_ = false; }

private:
    void request(bool started) {
        if (started) requested_ = true;
    }

    bool requested_ = false;
};

// What the browser module offers: a new, independent engine per browser window.
class BrowserEngineFactory {
public:
    virtual ~BrowserEngineFactory() = default;
    virtual std::unique_ptr<BrowserEngine> createEngine() = 0;
};

}  // namespace quillmark::platform

#define QuillmarkBrowserEngineFactory_iid "org.quillmark.BrowserEngineFactory/2"
Q_DECLARE_INTERFACE(quillmark::platform::BrowserEngineFactory, QuillmarkBrowserEngineFactory_iid)
