#pragma once
// The seeded generator of the sample sales cube shipped beside the program.
#include "olap/engine/CubeData.h"

#include <cstdint>
#include <memory>

namespace cb::olap {

constexpr const char* kSampleCubeName = "Tavo_sample";
constexpr size_t kSampleFactCount = 300'000;

// Dimensions Customer (Region > Country > City, 3000 cities), Product
// (Category > Subcategory > Product), Time (Year > Quarter > Month) and
// Channel (Channel); measures Revenue, Cost, Units (sums) and Orders (count);
// calculated Profit and Margin. The same seed gives the same cube.
std::unique_ptr<CubeData> MakeSampleCube(size_t facts = kSampleFactCount, uint64_t seed = 1);

}  // namespace cb::olap
