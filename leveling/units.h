#pragma once
// The units Levara converts between. Raw files give readings and distances in metres;
// the books and checks show some values in millimetres or kilometres.
namespace levara::leveling {

inline constexpr double kMillimetresPerMetre = 1000;
inline constexpr double kMetresPerKilometre = 1000;

}  // namespace levara::leveling
