#include "platform/desktop/KitEmail.h"

#include "platform/rtl/Strings.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace cb::os {

namespace {

const char* const kMapiTexts[] = {"",
                                  "User abort",
                                  "General MAPI failure",
                                  "MAPI login failure",
                                  "Disk full",
                                  "Insufficient memory",
                                  "Access denied",
                                  "",
                                  "Too many sessions",
                                  "Too many files were specified",
                                  "Too many recipients were specified",
                                  "A specified attachment was not found",
                                  "Attachment open failure",
                                  "Attachment write failure",
                                  "Unknown recipient",
                                  "Bad recipient type",
                                  "No messages",
                                  "Invalid message",
                                  "Text too large",
                                  "Invalid session",
                                  "Type not supported",
                                  "A recipient was specified ambiguously",
                                  "Message in use",
                                  "Network failure",
                                  "Invalid edit fields",
                                  "Invalid recipients",
                                  "Not supported"};

constexpr std::uint32_t kAttachmentNotFound = 11;
constexpr std::uint32_t kUnknownRecipient = 14;
constexpr std::uint32_t kInvalidRecipients = 25;

// What xdg-email's exit status means.
std::string ExitText(int status) {
    switch (status) {
    case 1:
        return "the mail program did not understand the message";
    case 2:
        return "an attached file does not exist";
    case 3:
        return "no mail program is set up on this computer (xdg-email found none to use)";
    case 4:
        return "the mail program could not open the message";
    case 5:
        return "an attached file cannot be read";
    default:
        return "the mail program ended with status " + std::to_string(status);
    }
}

}  // namespace

int TKitEmailRecips::AddRecipient(const std::string& address, const std::string& name, std::uint8_t kind,
                                  const std::string& addressType) {
    auto item = std::make_unique<TKitEmailRecip>();
    item->Address = cb::rtl::Trim(address);
    item->Name = name;
    item->Kind = kind;
    item->AddressType = addressType;
    FItems.push_back(std::move(item));
    return Count() - 1;
}

void TKitEmail::SetBody(const std::string& text) {
    if (text.empty())
        FBody.clear();
    else if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        FBody = text;
    else
        FBody = text + "\r\n";
}

std::string TKitEmail::ErrorText(std::uint32_t code) {
    const char* text = code < std::size(kMapiTexts) ? kMapiTexts[code] : "";
    return "MAPI Error: (" + std::to_string(code) + ") \"" + text + "\"";
}

std::vector<std::string> TKitEmail::BuildArguments(bool showDialog) const {
    std::vector<std::string> args{"--utf8"};
    if (!Subject.empty()) args.insert(args.end(), {"--subject", Subject});
    if (!FBody.empty()) args.insert(args.end(), {"--body", FBody});
    for (const std::string& file : Attachments) {
        std::error_code ec;
        if (file.empty() || !std::filesystem::is_regular_file(file, ec))
            throw EKitMapiError(ErrorText(kAttachmentNotFound) + ": " + file, kAttachmentNotFound);
        args.insert(args.end(), {"--attach", std::filesystem::absolute(file).lexically_normal().string()});
    }
    if (Recipients.Count() == 0 && !showDialog) throw EKitMapiError(ErrorText(kInvalidRecipients), kInvalidRecipients);
    std::vector<std::string> to;
    for (int i = 0; i < Recipients.Count(); ++i) {
        const TKitEmailRecip& r = Recipients.Item(i);
        if (r.Address.empty() && r.Name.empty()) throw EKitMapiError(ErrorText(kInvalidRecipients), kInvalidRecipients);
        const std::string& address = r.Address.empty() ? r.Name : r.Address;
        if (r.Kind == rkCc)
            args.insert(args.end(), {"--cc", address});
        else if (r.Kind == rkBcc)
            args.insert(args.end(), {"--bcc", address});
        else
            to.push_back(address);
    }
    // xdg-email takes a bare argument as an address only when it holds "@"
    // and does not start with "-" (that would read as an option).
    for (const std::string& address : to) {
        if (address.empty() || address[0] == '-' || address.find('@') == std::string::npos)
            throw EKitMapiError(ErrorText(kUnknownRecipient) + ": " + address, kUnknownRecipient);
        args.push_back(address);
    }
    return args;
}

bool TKitEmail::SendMail(bool showDialog) {
    std::vector<std::string> args = BuildArguments(showDialog);
    args.insert(args.begin(), MailProgram);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int rc = ::posix_spawnp(&pid, MailProgram.c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc == ENOENT)
        throw EKitMapiError("No mail program is set up on this computer: " + MailProgram +
                            " (from xdg-utils) is not installed");
    if (rc != 0) throw EKitMapiError("Cannot start " + MailProgram + ": " + std::strerror(rc));

    const auto deadline = std::chrono::steady_clock::now() + Wait;
    int status = 0;
    while (true) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR)
            throw EKitMapiError("Lost the mail program: " + std::string(std::strerror(errno)));
        if (std::chrono::steady_clock::now() >= deadline) {
            // Still running: the mail program has the message open. Reap it
            // when it ends.
            std::thread([pid] {
                int ignored = 0;
                while (::waitpid(pid, &ignored, 0) < 0 && errno == EINTR) {}
            }).detach();
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    if (WIFEXITED(status)) {
        // The shell's "command not found" from the program itself.
        if (WEXITSTATUS(status) == 127)
            throw EKitMapiError("No mail program is set up on this computer: " + MailProgram + " could not run");
        throw EKitMapiError("The message could not be handed to the mail program: " + ExitText(WEXITSTATUS(status)));
    }
    throw EKitMapiError("The mail program stopped unexpectedly");
}

}  // namespace cb::os
