#pragma once
// Free functions shared by the HTTP client and the upgrade component: URLs,
// versions, HTTP dates, file times and sizes, the online test.
#include "platform/rtl/DateTime.h"

#include <cstdint>
#include <string>

namespace cb::upgrade {

// round(Part * 100 / Whole) as 0..255; 0 when Whole is 0 or the result is not finite.
std::uint8_t PercentOf(double Part, double Whole);

// True when the machine has an interface address other than loopback.
bool HasNonLoopbackAddress();
// The online test of the upgrade timer: an up, non-loopback interface.
bool IsOnline();

// Opens an address with the user's browser ("http://" put in front when it
// has no scheme). NewWindow is accepted for callers; the desktop decides.
bool OpenURL(const std::string& URL, bool NewWindow);

enum TSplitOption : unsigned {
    soAppendToBefore = 1,
    soPrependToAfter = 2
};
// Splits Text at the first Sep; when Sep is absent the whole text goes to
// After (NotFoundGoesAfter) or to Before.
void SplitAt(const std::string& Sep, const std::string& Text, std::string& Before, std::string& After,
             bool NotFoundGoesAfter, unsigned Options = 0);
// Splits a registered open command into the program (left in Command) and its parameters.
void SplitCommandLine(std::string& Command, std::string& Params);

// The temporary folder with a trailing "/"; the program's folder when the
// temporary folder does not exist.
std::string GetTempDir();
bool IsDirectory(const std::string& Path);

struct TURLParts {
    std::string Scheme, Host, UserName, Password, Path, ExtraInfo;
    std::uint16_t Port = 0;
};
// Splits a URL ("http://" assumed without a scheme), escapes decoded. False
// when it cannot be read (Parts unchanged).
bool CrackURL(const std::string& URL, TURLParts& Parts);
std::string GetURLHost(const std::string& URL);
// The file-name part of a URL: empty for one that ends in "/".
std::string GetURLFileName(const std::string& URL);

// Compares dotted versions of up to four numeric parts; text that is not a
// number makes it a plain text comparison. Negative, 0 or positive.
int CompareVersions(const std::string& A, const std::string& B);

// HTTP dates in the three forms HTTP/1.1 allows, with zone names (0) or
// numeric offsets; the result is local time, 0 for an empty or unreadable text.
cb::rtl::TDateTime ParseHTTPDate(const std::string& Text);
// "+hhmm" / "-hhmm" as a fraction of a day; anything else 0.
double ParseGMTOffset(const std::string& Text);
// 1-based index of "Sun".."Sat" / "Jan".."Dec" (first three letters, any case), 0 otherwise.
int DayOfWeekIndex(const std::string& Name);
int MonthIndex(const std::string& Name);
// Local time from UTC and back, both as TDateTime.
cb::rtl::TDateTime UTCToLocalDateTime(cb::rtl::TDateTime UTC);

// Sets the file's times; -1 keeps a time. Linux keeps no creation time: it
// is ignored. False when the file cannot be changed.
bool SetFileTimes(const std::string& FileName, cb::rtl::TDateTime Creation, cb::rtl::TDateTime LastWrite,
                  cb::rtl::TDateTime LastAccess);
// Size of an existing file, -1 when it cannot be read.
std::int64_t GetFileSize64(const std::string& FileName);

}  // namespace cb::upgrade
