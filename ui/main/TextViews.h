// SPDX-License-Identifier: MIT
#pragma once
// Moving text between Qt's strings and the decoder's views. A view borrows the bytes of a named
// string; the overloads for temporaries are deleted, so that a view cannot outlive what it reads.
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <string_view>

namespace quillmark::ui {

inline QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string_view view(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}
std::string_view view(const QByteArray&&) = delete;

inline std::u16string_view utf16(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}
std::u16string_view utf16(const QString&&) = delete;

}  // namespace quillmark::ui
