#pragma once
// Registers the chart editor's pages under their class names, so that the
// dialog and other hosts find them by name.
namespace cb::charteditors {

void RegisterDialogEditors();

}  // namespace cb::charteditors
