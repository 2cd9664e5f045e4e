// SPDX-License-Identifier: MIT
#pragma once
#include <QSettings>

#include "platform/SettingsStore.h"

namespace quillmark::platform {

// The per-user settings of organisation and application Quillmark (QSettings, native format).
// Every write is flushed at once and checked, so an unwritable configuration directory shows
// up as false and never as a toolkit message.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    bool write(const QString& section, const QString& key, const QString& value) override;

private:
    QSettings settings_;
};

}  // namespace quillmark::platform
