#pragma once
// The tutorial's steps, read from "tutorial_steps.ini" beside the program:
// [Setup] TutorialSteps=N, then sections Step1 .. StepN.
#include "app/core/base/AppContext.h"

#include <string>
#include <vector>

namespace cb::app {

struct TTutorialStep {
    std::string HelpFileLocation;  // help topic; blank: no "More ..."
    std::string DisplayText;       // mark-up text
    std::string Title;
    int XLocation = -1;  // offsets from the main window's top-left corner
    int YLocation = -1;
};

class TTutorialStepList {
public:
    // Appends the file's steps. False (after telling the user) when the file
    // cannot be read; the steps read so far stay. A missing file has no steps.
    bool LoadFromFile(const std::string& Path, const TAppContext* Context = nullptr);
    int Count() const { return static_cast<int>(FSteps.size()); }
    // Out-of-range indexes (an empty list has no step 0) give an empty step.
    const TTutorialStep& GetStep(int Index) const;

private:
    std::vector<TTutorialStep> FSteps;
};

// Steps past this many are not read (a damaged count must not stall start-up).
constexpr int kMaxTutorialSteps = 1000;

}  // namespace cb::app
