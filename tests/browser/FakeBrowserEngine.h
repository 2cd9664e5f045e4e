// SPDX-License-Identifier: MIT
#pragma once
// A scripted browser engine: records what the window asks of it, and lets a test say when a
// navigation completes and whether the engine is busy.
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

    void navigate(const QString& address) override { request(QStringLiteral("navigate ") + address); }
    void goBack() override { calls << QStringLiteral("back"); }  // nothing to go back to
    void goForward() override { calls << QStringLiteral("forward"); }
    void goHome() override { request(QStringLiteral("home")); }
    void goSearch() override { request(QStringLiteral("search")); }
    void refresh() override { request(QStringLiteral("refresh")); }
    void stop() override {
        calls << QStringLiteral("stop");
        isBusy = false;
    }

    bool busy() const override { return isBusy; }
    QString locationName() const override { return title; }
    QString locationAddress() const override { return address; }

    // The browser lands on a page: it reports the document, then its download.
    void complete(const QString& reportedAddress, const QString& pageTitle) {
        address = reportedAddress;
        title = pageTitle;
        isBusy = false;
        events.navigateComplete();
        events.downloadComplete();
    }

    QStringList navigations() const { return calls.filter(QStringLiteral("navigate ")); }

    QPointer<QWidget> page = new QWidget;
    Events events;
    QStringList calls;
    bool isBusy = false;
    QString address;
    QString title;

private:
    void request(const QString& call) {
        calls << call;
        isBusy = true;
    }
};

}  // namespace quillmark::test
