#pragma once
// Whether a cell grows while its text is typed.

namespace cb::grid {

struct TSizeWhileTyping {
    bool Height = false;
    bool Width = false;
};

}  // namespace cb::grid
