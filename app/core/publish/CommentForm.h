#pragma once
// The comment form's rules: which fields are missing, and the body posted to
// the comment endpoint ("/cb/send_comments.php" on the configured host).
#include <string>

namespace cb::app {

// Empty when the fields may be sent; otherwise the message that lists the
// missing ones ("Please enter the following fields before continuing:" ...).
std::string CheckCommentFields(const std::string& Name, const std::string& Email, const std::string& Comments);

// "sName=...&sEmail=...&sComments=..." with every value URL-encoded, so a
// comment holding "&" or "=" arrives as typed.
std::string CommentFormBody(const std::string& Name, const std::string& Email, const std::string& Comments);

// application/x-www-form-urlencoded encoding of one value.
std::string FormEncode(const std::string& Value);

// The endpoint on a host (with or without a scheme); empty when no host is set.
std::string CommentEndpoint(const std::string& Host);

}  // namespace cb::app
