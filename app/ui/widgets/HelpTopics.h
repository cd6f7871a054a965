#pragma once
// The program's help file and the topics its windows open.
#include <string>

namespace cb::app {

inline constexpr const char* kHelpTopicIntroduction = "introduction.htm";
inline constexpr const char* kHelpTopicGridMenu = "grid menu.htm";
inline constexpr const char* kHelpTopicGridView = "grid view.htm";
inline constexpr const char* kHelpTopicChartView = "chart view.htm";

// The application's help file ("help/Tavo.chm" beside the program once the
// main window has set it; empty before).
const std::string& ApplicationHelpFile();
void SetApplicationHelpFile(const std::string& path);
// Shows a topic of the application's help file in the help window; a
// failure is shown as a warning. Returns the display code (0 when shown).
int ShowHelpTopic(const std::string& topic);

}  // namespace cb::app
