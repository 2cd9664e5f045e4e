// SPDX-License-Identifier: MIT
#include "platform/QtSettingsStore.h"

#include "platform/SettingsKeys.h"

namespace quillmark::platform {

QtSettingsStore::QtSettingsStore() = default;

bool QtSettingsStore::write(const QString& section, const QString& key, const QString& value) {
    if (!settings_) {
        settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                settings::kOrganisation, settings::kApplication);
    }
    settings_->beginGroup(section);
    settings_->setValue(key, value);
    settings_->endGroup();
    settings_->sync();
    return settings_->status() == QSettings::NoError;
}

}  // namespace quillmark::platform
