// SPDX-License-Identifier: MIT
#pragma once
#include "platform/Clipboard.h"

namespace quillmark::platform {

// The desktop clipboard through QGuiApplication::clipboard().
class QtClipboard final : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
    std::optional<QString> text() override;
};

}  // namespace quillmark::platform
