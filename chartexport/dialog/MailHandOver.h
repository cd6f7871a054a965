#pragma once
// Folders that hold files handed to the mail program. The hand-over is
// asynchronous: the mail program may read an attachment long after it was
// started, so a folder is removed only once it is old, by a later hand-over.
#include <chrono>
#include <string>

namespace cb::chartexport {

// A new folder (with a trailing '/') under the temporary folder, after
// removing hand-over folders older than maxAge. Raises EExportError "Can
// not find Temp folder" when none can be made.
std::string NewMailHandOverFolder(std::chrono::hours maxAge = std::chrono::hours(24));

}  // namespace cb::chartexport
