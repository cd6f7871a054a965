#pragma once
// Handing documents, addresses and programs to the desktop.
#include <string>
#include <vector>

namespace cb::os {

// Opens a document with its associated program, or an address (anything
// with a scheme such as "http://" or "mailto:") with the user's browser or
// mail program. A local file that does not exist is not handed on (false).
bool ShellOpen(const std::string& Target);

// Whether the desktop names a program that opens the local file's type
// (xdg-mime's default application). True when it cannot tell, so a missing
// xdg-mime never stops a file from being handed on.
bool HasOpenerFor(const std::string& File);

// Starts a program with an argument list, no shell involved, and does not
// wait for it. False when it could not be started.
bool StartProcess(const std::string& Program, const std::vector<std::string>& Args, const std::string& WorkingDir = {});

}  // namespace cb::os
