// SPDX-License-Identifier: MIT
#pragma once
#include <QSettings>
#include <memory>

#include "platform/SettingsStore.h"

namespace quillmark::platform {

// The per-user settings of organisation and application Quillmark (QSettings, native format).
// Every write is flushed at once and checked, so an unwritable configuration directory shows
// up as false and never as a toolkit message. The store is opened at the first write (the
// program writes only as it closes), so that start-up reads no settings file.
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    bool write(const QString& section, const QString& key, const QString& value) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace quillmark::platform
