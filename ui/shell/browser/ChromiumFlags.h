// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace quillmark::ui {

// The web engine reads extra options from QTWEBENGINE_CHROMIUM_FLAGS and splits them at every
// blank unless a value is quoted, so an option written the natural way,
//   --host-resolver-rules=MAP www.example.com 127.0.0.1:8080
// reaches it cut into pieces and has no effect. This joins the words that follow an option's
// value back onto it and quotes that value. Text that already holds a quote is the user's own
// quoting and is returned unchanged, as is text with nothing to join.
QString joinedChromiumFlags(const QString& flags);

}  // namespace quillmark::ui
