#pragma once
// An e-mail message handed to the user's mail program through xdg-email:
// subject, plain body, recipients and attached files. The mail program
// shows its compose window; the user sends from there.
#include "platform/rtl/Exception.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cb::os {

// A failure to hand the message over; ErrorCode is the mail interface's
// result code (11 a missing attachment, 25 no recipients), or 0.
class EKitMapiError : public cb::rtl::Exception {
public:
    EKitMapiError(const std::string& message, std::uint32_t code = 0) : Exception(message), ErrorCode(code) {}
    std::uint32_t ErrorCode;
};

// Recipient kinds.
enum : std::uint8_t {
    rkOriginator = 0,
    rkTo = 1,
    rkCc = 2,
    rkBcc = 3
};

struct TKitEmailRecip {
    std::string Address;
    std::string AddressType;
    std::uint8_t Kind = rkTo;
    std::string Name;
};

class TKitEmailRecips {
public:
    std::string AddressesType = "SMTP";
    // Stores the address trimmed; returns the new item's index.
    int AddRecipient(const std::string& address, const std::string& name = {}, std::uint8_t kind = rkTo,
                     const std::string& addressType = {});
    int Count() const { return static_cast<int>(FItems.size()); }
    const TKitEmailRecip& Item(int index) const { return *FItems.at(static_cast<size_t>(index)); }
    void Clear() { FItems.clear(); }

private:
    std::vector<std::unique_ptr<TKitEmailRecip>> FItems;
};

class TKitEmail {
public:
    std::string Subject;
    TKitEmailRecips Recipients;
    std::vector<std::string> Attachments;  // file names
    // The program run with the message; found on PATH.
    std::string MailProgram = "xdg-email";
    // How long to wait for the program to say whether it took the message;
    // one still running then is taken to have it open.
    std::chrono::milliseconds Wait = std::chrono::seconds(3);

    const std::string& Body() const { return FBody; }
    // A text without a trailing CR LF gets one; an empty text clears it.
    void SetBody(const std::string& text);

    // The program's argument list for the message (attachments as full
    // paths). Raises code 11 for a missing attachment and code 25 for no
    // recipients without the dialog.
    std::vector<std::string> BuildArguments(bool showDialog) const;
    // Hands the message to the mail program. True when it took it; raises
    // EKitMapiError with a plain reason otherwise (no mail program, a
    // missing attachment, the program failed).
    bool SendMail(bool showDialog = true);

    // "MAPI Error: (code) "text"".
    static std::string ErrorText(std::uint32_t code);

private:
    std::string FBody;
};

}  // namespace cb::os
