// Deterministic value noise for the painted textures: integer hashing only, so
// the same seed gives the same skin on every regeneration.
#pragma once

#include <cstdint>

namespace skingen {

// Smooth noise in [0, 1] with features about one unit apart.
float valueNoise(float x, float y, std::uint32_t seed);
// Several octaves of valueNoise, still in [0, 1].
float fractalNoise(float x, float y, std::uint32_t seed, int octaves = 4);

} // namespace skingen
