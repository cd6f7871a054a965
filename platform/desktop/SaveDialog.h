#pragma once
// The program's save dialogs: they start in the folder used last (the
// user's documents folder at first), give a name without an extension the
// format's, refuse a name that ends in another format's extension, and
// complete names typed into a field the same way.
#include <string>
#include <vector>

class QWidget;

namespace cb::os {

struct TSaveFileRequest {
    std::string Title;
    std::string Filter;                   // as Qt writes it: "PDF Document (*.pdf)"
    std::vector<std::string> Extensions;  // without dots; the first is added to a bare name
    bool ConfirmOverwrite = true;
};

// The folder the next save dialog starts in.
std::string LastSaveFolder();
// Remembers the folder of a file the user chose.
void RememberSaveFolder(const std::string& FileName);

// The name completed as the dialog completes it: a relative name lies in
// LastSaveFolder(), a name without an extension gets the first of
// Extensions. Empty, with Error set, when the name ends in an extension
// that is not one of Extensions.
std::string CompleteSaveFileName(const std::string& Typed, const std::vector<std::string>& Extensions,
                                 std::string& Error);

// Asks for a file to write; empty when the user cancels.
std::string AskSaveFileName(QWidget* Parent, const TSaveFileRequest& Request);

}  // namespace cb::os
