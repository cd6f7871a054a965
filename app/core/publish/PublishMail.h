#pragma once
// Sending published files by e-mail through the user's mail program.
#include "app/core/base/AppContext.h"

#include <string>
#include <vector>

namespace cb::app {

// Opens the mail program's compose window with the subject, body, the
// recipient (when not blank) and the attachments. True when the program
// took the message; a failure (no mail program, a missing file) is shown
// through the context and answers false.
bool SendEmail(const std::string& subject, const std::string& body, const std::string& recipient,
               const std::vector<std::string>* attachments, TAppContext context = {});
// SendEmail with the one file attached when it exists, with none otherwise.
bool SendFileByEmail(const std::string& subject, const std::string& body, const std::string& recipient,
                     const std::string& fileName, TAppContext context = {});

}  // namespace cb::app
