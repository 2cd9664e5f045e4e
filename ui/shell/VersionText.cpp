// SPDX-License-Identifier: MIT
#include "ui/shell/VersionText.h"

namespace quillmark::ui {

QString SplashVersionLine(const platform::AppInfo& app) {
    return QStringLiteral("Developer: Ashgrove        Quillmark V%1.%2 Rev:%3")
        .arg(app.major)
        .arg(app.minor)
        .arg(app.revision);
}

QString AboutVersionLine(const platform::AppInfo& app) {
    return QStringLiteral("Version %1.%2.%3").arg(app.major).arg(app.minor).arg(app.revision);
}

}  // namespace quillmark::ui
