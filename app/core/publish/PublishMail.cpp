#include "app/core/publish/PublishMail.h"

#include "app/core/base/Helpers.h"
#include "platform/desktop/KitEmail.h"
#include "platform/os/Files.h"
#include "platform/rtl/Strings.h"

namespace cb::app {

bool SendEmail(const std::string& subject, const std::string& body, const std::string& recipient,
               const std::vector<std::string>* attachments, TAppContext context) {
    try {
        cb::os::TKitEmail mail;
        mail.Subject = subject;
        mail.SetBody(body);
        if (!IsBlankString(recipient)) mail.Recipients.AddRecipient(cb::rtl::Trim(recipient), {}, cb::os::rkTo);
        if (attachments) mail.Attachments = *attachments;
        return mail.SendMail(true);
    } catch (const std::exception& e) {
        context.ShowError(std::string("The e-mail could not be prepared: ") + e.what());
        return false;
    }
}

bool SendFileByEmail(const std::string& subject, const std::string& body, const std::string& recipient,
                     const std::string& fileName, TAppContext context) {
    std::vector<std::string> files;
    if (cb::os::FileExists(fileName)) files.push_back(fileName);
    return SendEmail(subject, body, recipient, &files, context);
}

}  // namespace cb::app
