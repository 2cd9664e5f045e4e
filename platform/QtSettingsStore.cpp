// SPDX-License-Identifier: MIT
#include "platform/QtSettingsStore.h"

#include "platform/SettingsKeys.h"

namespace quillmark::platform {

QtSettingsStore::QtSettingsStore()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, settings::kOrganisation,
                settings::kApplication) {}

bool QtSettingsStore::write(const QString& section, const QString& key, const QString& value) {
    settings_.beginGroup(section);
    settings_.setValue(key, value);
    settings_.endGroup();
    settings_.sync();
    return settings_.status() == QSettings::NoError;
}

}  // namespace quillmark::platform
