// SPDX-License-Identifier: MIT
#include "platform/webengine/WebEngineBrowser.h"

#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace quillmark::platform {

namespace {

// Links that ask for a new window (target="_blank", window.open) open in the same window, the
// way the window's single page works; without this they would silently do nothing.
class SingleWindowView final : public QWebEngineView {
public:
    using QWebEngineView::QWebEngineView;

protected:
    QWebEngineView* createWindow(QWebEnginePage::WebWindowType) override { return this; }
};

}  // namespace

WebEngineBrowser::WebEngineBrowser() : mView(new SingleWindowView) { wireEvents(); }

WebEngineBrowser::~WebEngineBrowser() {
    // No event may reach the window while the page goes.
    mEvents = {};
    delete mView.data();
}

QWidget* WebEngineBrowser::widget() { return mView; }

void WebEngineBrowser::setEvents(Events events) { mEvents = std::move(events); }

void WebEngineBrowser::wireEvents() {
    QWebEnginePage* page = mView->page();
    // A finished load is a completed navigation (also when it failed: the error page is then
    // the document, and its address is the one asked for).
    QObject::connect(page, &QWebEnginePage::loadFinished, mView, [this](bool) {
        notifyNavigateComplete();
        notifyDownloadComplete();
    });
    QObject::connect(page, &QWebEnginePage::titleChanged, mView,
                     [this](const QString&) { notifyDownloadComplete(); });
    // Moves inside a document (anchors, script history) load nothing but change the address.
    QObject::connect(page, &QWebEnginePage::urlChanged, mView, [this](const QUrl&) {
        if (!mView->page()->isLoading()) notifyNavigateComplete();
    });
}

void WebEngineBrowser::notifyDownloadComplete() const {
    if (mEvents.downloadComplete) mEvents.downloadComplete();
}

void WebEngineBrowser::notifyNavigateComplete() const {
    if (mEvents.navigateComplete) mEvents.navigateComplete();
}

void WebEngineBrowser::open(const QUrl& url) {
    if (!url.isValid() || !mView) return;
    mView->setUrl(url);
}

void WebEngineBrowser::navigate(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!url.isValid()) return;
    if (mHome.isEmpty()) mHome = url;
    open(url);
}

void WebEngineBrowser::goBack() {
    if (mView && mView->history()->canGoBack()) mView->back();
}

void WebEngineBrowser::goForward() {
    if (mView && mView->history()->canGoForward()) mView->forward();
}

void WebEngineBrowser::goHome() { open(mHome.isEmpty() ? QUrl(QStringLiteral("about:blank")) : mHome); }

void WebEngineBrowser::goSearch() { open(kSearchPage); }

void WebEngineBrowser::refresh() {
    if (mView && !mView->url().isEmpty()) mView->reload();
}

void WebEngineBrowser::stop() {
    if (mView) mView->stop();
}

bool WebEngineBrowser::busy() const { return mView && mView->page()->isLoading(); }

QString WebEngineBrowser::locationName() const {
    if (!mView) return {};
    const QString title = mView->title();
    // A page without a title is named by its address, as browsers show it.
    return title.isEmpty() ? locationAddress() : title;
}

QString WebEngineBrowser::locationAddress() const {
    return mView ? mView->url().toString() : QString();
}

}  // namespace quillmark::platform
