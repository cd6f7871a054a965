#include "app/core/publish/CommentForm.h"

#include "app/core/base/Helpers.h"

namespace cb::app {

std::string CheckCommentFields(const std::string& Name, const std::string& Email, const std::string& Comments) {
    std::string missing;
    if (IsBlankString(Name)) missing += "  - Your Name";
    if (IsBlankString(Email) || !IsValidEmailAddress(Email)) missing += "\r  - Your Email Address";
    if (IsBlankString(Comments)) missing += "\r  - Comments";
    if (missing.empty()) return {};
    return "Please enter the following fields before continuing:\r\r" + missing;
}

std::string FormEncode(const std::string& Value) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(Value.size());
    for (unsigned char c : Value) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string CommentFormBody(const std::string& Name, const std::string& Email, const std::string& Comments) {
    return "sName=" + FormEncode(Name) + "&sEmail=" + FormEncode(Email) + "&sComments=" + FormEncode(Comments);
}

std::string CommentEndpoint(const std::string& Host) {
    std::string host = Host;
    while (!host.empty() && (host.back() == '/' || host.back() == ' ')) host.pop_back();
    if (host.empty()) return {};
    if (host.find("://") == std::string::npos) host = "http://" + host;
    return host + "/cb/send_comments.php";
}

}  // namespace cb::app
