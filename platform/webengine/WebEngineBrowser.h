// SPDX-License-Identifier: MIT
#pragma once
#include <QPointer>
#include <QUrl>

#include "platform/BrowserEngine.h"

class QWebEngineView;

namespace quillmark::platform {

// A browser engine on Qt WebEngine. Its home page is the first address it was asked to open
// (the page its window started on); its search page is a fixed web search site.
class WebEngineBrowser final : public BrowserEngine {
public:
    static inline const QUrl kSearchPage{QStringLiteral("https://www.google.com/")};

    WebEngineBrowser();
    ~WebEngineBrowser() override;

    QWidget* widget() override;
    void setEvents(Events events) override;

    void navigate(const QString& address) override;
    void goBack() override;
    void goForward() override;
    void goHome() override;
    void goSearch() override;
    void refresh() override;
    void stop() override;

    bool busy() const override;
    QString locationName() const override;
    QString locationAddress() const override;

private:
    void wireEvents();
    void open(const QUrl& url);
    void notifyDownloadComplete() const;
    void notifyNavigateComplete() const;

    QPointer<QWebEngineView> mView;
    Events mEvents;
    QUrl mHome;
};

}  // namespace quillmark::platform
