#pragma once
// The chart tools the editors offer, registered in the tools registry.
namespace cb::chart {

// The sixteen tools in their gallery order, then the extra legend; each
// only once.
void RegisterStandardToolTypes();
void UnregisterStandardToolTypes();

}  // namespace cb::chart
