// SPDX-License-Identifier: MIT
#pragma once
#include <QString>
#include <optional>

namespace quillmark::platform {

// The system clipboard, plain text only.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Drops every format the clipboard holds. False when the clipboard cannot be opened.
    virtual bool clear() = 0;
    // Puts plain text on the clipboard. False when it cannot be written.
    virtual bool setText(const QString& text) = 0;
    // The plain text it holds, empty when it holds none; nullopt when it cannot be read.
    virtual std::optional<QString> text() = 0;
};

}  // namespace quillmark::platform
