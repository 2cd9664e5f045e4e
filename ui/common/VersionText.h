// SPDX-License-Identifier: MIT
#pragma once
// The program's title and version as the windows show them, from the version record.
#include <QString>

#include "platform/AppInfo.h"

namespace quillmark::ui {

// "Quillmark V2.0 Rev:0": the main window's caption and the end of the splash line.
QString titleAndVersion(const platform::AppInfo& app);

// The splash window's developer and version line:
// "Developer: Ashgrove        Quillmark V2.0 Rev:0".
QString splashVersionLine(const platform::AppInfo& app);

// The about box's version line: "Version 2.0.0".
QString aboutVersionLine(const platform::AppInfo& app);

}  // namespace quillmark::ui
