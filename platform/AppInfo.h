// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace quillmark::platform {

// Application title and version numbers, as shown in captions, the splash and the about box.
struct AppInfo {
    QString title;
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The record of this build, taken from the project version.
AppInfo currentAppInfo();

}  // namespace quillmark::platform
