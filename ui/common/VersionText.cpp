// SPDX-License-Identifier: MIT
#include "ui/common/VersionText.h"

namespace quillmark::ui {

QString titleAndVersion(const platform::AppInfo& app) {
    return QStringLiteral("%1 V%2.%3 Rev:%4")
        .arg(app.title)
        .arg(app.major)
        .arg(app.minor)
        .arg(app.revision);
}

QString splashVersionLine(const platform::AppInfo& app) {
    return QStringLiteral("Developer: Ashgrove        ") + titleAndVersion(app);
}

QString aboutVersionLine(const platform::AppInfo& app) {
    return QStringLiteral("Version %1.%2.%3").arg(app.major).arg(app.minor).arg(app.revision);
}

}  // namespace quillmark::ui
