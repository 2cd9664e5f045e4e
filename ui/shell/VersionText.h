// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

#include "platform/AppInfo.h"

namespace quillmark::ui {

// The splash window's developer and version line:
// "Developer: Ashgrove        Quillmark V2.0 Rev:0".
QString SplashVersionLine(const platform::AppInfo& app);

// The about box's version line: "Version 2.0.0".
QString AboutVersionLine(const platform::AppInfo& app);

}  // namespace quillmark::ui
