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

    QString locationName() const override;
    QString locationAddress() const override;

protected:
    bool startNavigate(const QString& address) override;
    bool startBack() override;
    bool startForward() override;
    bool startHome() override;
    bool startSearch() override;
    bool startRefresh() override;
    void stopLoading() override;
    bool loading() const override;

private:
    void wireEvents();
    bool open(const QUrl& url);
    void notifyDownloadComplete() const;
    void notifyNavigateComplete() const;

    QPointer<QWebEngineView> view_;
    Events events_;
    QUrl home_;
};

}  // namespace quillmark::platform
