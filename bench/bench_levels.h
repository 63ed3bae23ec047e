// SPDX-License-Identifier: MIT
// Large level sources for the benchmarks: attribute maps of a believable
// terrain and of worst-case noise, with a config file that needs no pictures
// (GGLEVEL yes, PARA no). Each level is written once per process, on first
// use, into a temporary folder that is removed when the process ends.
#pragma once

#include <cstdint>
#include <string>

namespace zur::bench {

enum class MapKind {
  kTerrain,  // sky, hills, lakes, caves, bedrock and a few hundred objects: long runs
  kNoise,    // every pixel differs from the one before it in scan order: one run per pixel
};

// The level prefix of a square map `size` pixels wide of this kind.
const std::string& level_prefix(MapKind kind, std::int32_t size);

}  // namespace zur::bench
