// Constants shared by the numerical library and the estimators, defined once.
#pragma once

#include <numbers>

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDosPi = 2.0 * std::numbers::pi;  // 6.283185307179586, exact

// The 97.5 % quantile of the standard normal, for 95 % intervals H ± z·σ.
inline constexpr double kCuantilNormal975 = 1.959963984540054;
// The same rounded to 1.96: the Whittle intervals have always been documented and
// reported with this factor, so it stays as it was.
inline constexpr double kCuantilNormal975Redondeado = 1.96;
