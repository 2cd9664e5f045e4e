// SPDX-License-Identifier: MIT
#include "platform/AppInfo.h"

#include "quillmark/version.h"

namespace quillmark::platform {

AppInfo currentAppInfo() {
    return AppInfo{QString::fromLatin1(version::kTitle), version::kMajor, version::kMinor,
                   version::kRevision};
}

}  // namespace quillmark::platform
