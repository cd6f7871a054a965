#pragma once
// Registers the brush, gradient, shadow, font and shape editors by their
// class names, so that hosts and buttons find them by name.
namespace cb::charteditors {
void RegisterStyleEditors();
}
