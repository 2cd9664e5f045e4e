// SPDX-License-Identifier: MIT
#pragma once
// A scripted browser engine: records what the window asks of it, and lets a test say when the
// page engine starts loading and when a navigation completes. Like a real page engine it starts
// loading only when told (a real one answers through its event queue, some time after the
// request), unless startsAtOnce is set.
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "platform/BrowserEngine.h"

namespace quillmark::test {

class FakeBrowserEngine final : public platform::BrowserEngine {
public:
    ~FakeBrowserEngine() override { delete page.data(); }

    QWidget* widget() override { return page; }
    void setEvents(Events e) override { events = std::move(e); }

    QString locationName() const override { return title; }
    QString locationAddress() const override { return address; }

    // The page engine begins to load what was requested.
    void startLoading() {
        isLoading = true;
        requestAnswered();
    }

    // The browser lands on a page: it reports the document, then its download.
    void complete(const QString& reportedAddress, const QString& pageTitle) {
        address = reportedAddress;
        title = pageTitle;
        isLoading = false;
        requestAnswered();
        events.navigateComplete();
        events.downloadComplete();
    }

    QStringList navigations() const { return calls.filter(QStringLiteral("navigate ")); }

    QPointer<QWidget> page = new QWidget;
    Events events;
    QStringList calls;
    bool startsAtOnce = false;
    bool isLoading = false;
    QString address;
    QString title;

protected:
    bool startNavigate(const QString& to) override {
        return request(QStringLiteral("navigate ") + to);
    }
    bool startBack() override {
        calls << QStringLiteral("back");  // nothing to go back to
        return false;
    }
    bool startForward() override { return request(QStringLiteral("forward")); }
    bool startHome() override { return request(QStringLiteral("home")); }
    bool startSearch() override { return request(QStringLiteral("search")); }
    bool startRefresh() override { return request(QStringLiteral("refresh")); }
    void stopLoading() override {
        calls << QStringLiteral("stop");
        isLoading = false;
    }
    bool loading() const override { return isLoading; }

private:
    bool request(const QString& call) {
        calls << call;
        if (startsAtOnce) isLoading = true;
        return true;
    }
};

}  // namespace quillmark::test
