// SPDX-License-Identifier: MIT
#pragma once
// The names under which the main window records its placement in the per-user settings store.
#include <QLatin1StringView>

namespace quillmark::platform::settings {

inline constexpr QLatin1StringView kOrganisation{"Quillmark"};
inline constexpr QLatin1StringView kApplication{"Quillmark"};
inline constexpr QLatin1StringView kSection{"Settings"};

inline constexpr QLatin1StringView kMainLeft{"MainLeft"};
inline constexpr QLatin1StringView kMainTop{"MainTop"};
inline constexpr QLatin1StringView kMainWidth{"MainWidth"};
inline constexpr QLatin1StringView kMainHeight{"MainHeight"};

}  // namespace quillmark::platform::settings
