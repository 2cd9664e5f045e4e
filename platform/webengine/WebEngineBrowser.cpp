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

WebEngineBrowser::WebEngineBrowser() : view_(new SingleWindowView) { wireEvents(); }

WebEngineBrowser::~WebEngineBrowser() {
    // No event may reach the window while the page goes.
    events_ = {};
    delete view_.data();
}

QWidget* WebEngineBrowser::widget() { return view_; }

void WebEngineBrowser::setEvents(Events events) { events_ = std::move(events); }

void WebEngineBrowser::wireEvents() {
    QWebEnginePage* page = view_->page();
    // From its start the load itself tells that the engine is busy.
    QObject::connect(page, &QWebEnginePage::loadStarted, view_, [this] { requestAnswered(); });
    // A finished load is a completed navigation (also when it failed: the error page is then
    // the document, and its address is the one asked for).
    QObject::connect(page, &QWebEnginePage::loadFinished, view_, [this](bool) {
        requestAnswered();
        notifyNavigateComplete();
        notifyDownloadComplete();
    });
    QObject::connect(page, &QWebEnginePage::titleChanged, view_,
                     [this](const QString&) { notifyDownloadComplete(); });
    // Moves inside a document (anchors, script history) load nothing but change the address.
    QObject::connect(page, &QWebEnginePage::urlChanged, view_, [this](const QUrl&) {
        if (view_->page()->isLoading()) return;
        requestAnswered();
        notifyNavigateComplete();
    });
}

void WebEngineBrowser::notifyDownloadComplete() const {
    if (events_.downloadComplete) events_.downloadComplete();
}

void WebEngineBrowser::notifyNavigateComplete() const {
    if (events_.navigateComplete) events_.navigateComplete();
}

bool WebEngineBrowser::open(const QUrl& url) {
    if (!url.isValid() || !view_) return false;
    view_->setUrl(url);
    return true;
}

bool WebEngineBrowser::startNavigate(const QString& address) {
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (!url.isValid()) return false;
    if (home_.isEmpty()) home_ = url;
    return open(url);
}

bool WebEngineBrowser::startBack() {
    if (!view_ || !view_->history()->canGoBack()) return false;
    view_->back();
    return true;
}

bool WebEngineBrowser::startForward() {
    if (!view_ || !view_->history()->canGoForward()) return false;
    view_->forward();
    return true;
}

bool WebEngineBrowser::startHome() {
    return open(home_.isEmpty() ? QUrl(QStringLiteral("about:blank")) : home_);
}

bool WebEngineBrowser::startSearch() { return open(kSearchPage); }

bool WebEngineBrowser::startRefresh() {
    if (!view_ || view_->url().isEmpty()) return false;
    view_->reload();
    return true;
}

void WebEngineBrowser::stopLoading() {
    if (view_) view_->stop();
}

bool WebEngineBrowser::loading() const { return view_ && view_->page()->isLoading(); }

QString WebEngineBrowser::locationName() const {
    if (!view_) return {};
    const QString title = view_->title();
    // A page without a title is named by its address, as browsers show it.
    return title.isEmpty() ? locationAddress() : title;
}

QString WebEngineBrowser::locationAddress() const {
    return view_ ? view_->url().toString() : QString();
}

}  // namespace quillmark::platform
