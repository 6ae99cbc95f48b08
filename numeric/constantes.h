// Constants shared by the numerical library and the estimators, defined once.
#pragma once

#include <numbers>

inline constexpr double kPi = std::numbers::pi;
inline constexpr double kDosPi = 2.0 * std::numbers::pi;  // 6.283185307179586, exact
