#pragma once
// Registers the series editors under the class names the chart engine
// answers for its series ("TCustomSeriesEditor", "TBarSeriesEditor", ...).
namespace cb::charteditors {

void RegisterSeriesEditors();

}  // namespace cb::charteditors
