#pragma once
// Registers every editor class of the chart editors with the registry of
// editor classes (charteditors/common/EditorRegistry.h). The program calls it
// once at start-up; calling it again changes nothing.
namespace cb::charteditors {

void RegisterStandardEditors();

}  // namespace cb::charteditors
