// SPDX-License-Identifier: MIT
#include "ui/shell/browser/ChromiumFlags.h"

#include <QStringList>

namespace quillmark::ui {

QString joinedChromiumFlags(const QString& flags) {
    if (flags.contains(QLatin1Char('"'))) return flags;

    QStringList options;
    for (const QString& word : flags.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const bool continuesValue = !word.startsWith(QLatin1Char('-')) && !options.isEmpty() &&
                                    options.last().contains(QLatin1Char('='));
        if (continuesValue)
            options.last() += QLatin1Char(' ') + word;
        else
            options << word;
    }

    bool joined = false;
    for (QString& option : options) {
        if (!option.contains(QLatin1Char(' '))) continue;
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        option =
            option.left(equals + 1) + QLatin1Char('"') + option.mid(equals + 1) + QLatin1Char('"');
        joined = true;
    }
    return joined ? options.join(QLatin1Char(' ')) : flags;
}

}  // namespace quillmark::ui
