// The attribute palette: the 34 legal attribute map colours and the
// attribute code each stands for. Only exact colours are legal.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace zur {

struct Rgb {
  std::uint8_t red, green, blue;
};

inline constexpr std::size_t kAttributeCodes = 34;

// Indexed by attribute code.
inline constexpr std::array<Rgb, kAttributeCodes> kPalette = {{
    {0, 0, 0},       {0, 152, 0},     {126, 48, 59},   {77, 77, 77},    {168, 168, 168},
    {160, 0, 0},     {227, 0, 0},     {255, 255, 255}, {189, 120, 65},  {133, 84, 45},
    {255, 169, 96},  {0, 0, 200},     {0, 0, 255},     {50, 50, 200},   {50, 50, 255},
    {100, 100, 200}, {100, 100, 255}, {150, 150, 200}, {150, 150, 255}, {50, 50, 0},
    {100, 100, 0},   {150, 150, 0},   {200, 200, 0},   {250, 250, 0},   {0, 152, 100},
    {126, 48, 159},  {160, 0, 100},   {168, 168, 255}, {168, 255, 156}, {124, 178, 117},
    {86, 122, 81},   {58, 78, 55},    {0, 100, 0},     {0, 255, 255},
}};

// The attribute code of a colour, or nothing for an illegal colour. Constant
// time: a collision-free hash of the colour, then one comparison. Taken by
// reference because a three-byte colour passed by value is assembled through
// memory in a way that stalls the caller on every pixel.
std::optional<std::uint8_t> classify_colour(const Rgb& colour);

}  // namespace zur
