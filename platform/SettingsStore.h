// SPDX-License-Identifier: MIT
#pragma once
#include <QString>

namespace quillmark::platform {

// The per-user settings store of the application (application name Quillmark).
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // Writes one text value under section and key. False when the store cannot be written;
    // callers carry on regardless.
    virtual bool write(const QString& section, const QString& key, const QString& value) = 0;
};

}  // namespace quillmark::platform
