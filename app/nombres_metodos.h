// Method names that more than the method table needs — the default selection, and the
// titles of the dialog pages named after their method — written once.
#pragma once

namespace metodo {
inline constexpr const char* kDfa = "DFA";
inline constexpr const char* kGph = "GPH";
inline constexpr const char* kHiguchi = "Higuchi";
inline constexpr const char* kMomentos = "Momentos Absolutos";
inline constexpr const char* kNinguno = "Ninguno";
inline constexpr const char* kOndiculas = "Ondículas";
inline constexpr const char* kPeriodograma = "Periodograma";
inline constexpr const char* kRS = "R/S";
inline constexpr const char* kTestT = "Test T";
inline constexpr const char* kVarianza = "Varianza";
// Not a method of the list: the selection that runs every method that yields H and shows
// them side by side ("Comparar métodos", fenwa-cli -m Todos).
inline constexpr const char* kTodos = "Todos";
}  // namespace metodo
