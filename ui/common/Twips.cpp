// SPDX-License-Identifier: MIT
#include "ui/common/Twips.h"

#include <cmath>

namespace quillmark::ui {

QString twipsText(int pixels, double dotsPerInch) {
    if (!(dotsPerInch > 0)) dotsPerInch = 96.0;
    const double twips = static_cast<double>(pixels) * kTwipsPerInch / dotsPerInch;
    return QString::number(static_cast<long long>(std::llround(twips)));
}

}  // namespace quillmark::ui
