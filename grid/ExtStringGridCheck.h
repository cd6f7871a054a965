#pragma once
#include <string>

namespace cb::grid {

// Base of cell checkers: the grid passes an edited text through Correct
// and MarkError when the flags ask for it.
class TExtStringGridCheck {
public:
    virtual ~TExtStringGridCheck() = default;
    bool AutoCorrect = false;
    bool AutoMarkError = false;
    bool GotoCell = false;
    bool UseCorrect = false;
    bool UseMarkError = false;
    virtual std::string MarkError(int col, int row, const std::string& text) {
        (void)col, (void)row;
        return text;
    }
    virtual std::string Correct(int col, int row, const std::string& text) {
        (void)col, (void)row;
        return text;
    }
    virtual void StartCheck() {}
    virtual void StopCheck() {}
};

}  // namespace cb::grid
