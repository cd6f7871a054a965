#pragma once
// Exceptions of the zip library and its fixed message texts.
#include "platform/rtl/Exception.h"

#include <string>

namespace cb::zip {

class EZipError : public cb::rtl::Exception {
public:
    using cb::rtl::Exception::Exception;
};
// The directory of an archive is damaged and could not be recovered.
class EBadZipFile : public EZipError {
public:
    using EZipError::EZipError;
};
// No end record: the last volume of a set is missing or the file is cut.
class EIncompleteZip : public EZipError {
public:
    using EZipError::EZipError;
};
class ENotAZipFile : public EZipError {
public:
    using EZipError::EZipError;
};
class EUserCanceled : public EZipError {
public:
    using EZipError::EZipError;
};
// A write took fewer bytes than asked (disk full).
class ENotEnoughRoom : public EZipError {
public:
    using EZipError::EZipError;
};
// An archive or entry that needs 4 GiB or more.
class EZipTooLarge : public EZipError {
public:
    using EZipError::EZipError;
};
// A volume file that is already there.
class EVolumeExists : public EZipError {
public:
    using EZipError::EZipError;
};

namespace texts {
inline constexpr const char* OpenZipTitle = "Open a Zip File";
inline constexpr const char* CanceledDestDir = "User canceled Set Desination Directory";
inline constexpr const char* IndexOutOfRange = "Index %d is out of range";
inline constexpr const char* IncompleteZip = "Incomplete Zip File";
inline constexpr const char* NotAZip = "Not a valid zip file!";
inline constexpr const char* InsertDisk = "Please insert disk ";
inline constexpr const char* OfMultiDisk = " of the multi-disk set.";
inline constexpr const char* CanceledZipName = "User canceled setting zip file name.";
inline constexpr const char* CanceledZip = "User canceled Zip operation";
inline constexpr const char* CanceledLoadDisk = "User canceled loading new disk.";
inline constexpr const char* SeekError = "Seek error";
inline constexpr const char* InvalidSeekOrigin = "Invalid seek origin (%d)";
inline constexpr const char* PutbackOverflow = "Putback overflow";
inline constexpr const char* CouldNotCopy = "Could not copy from ";
inline constexpr const char* NotEnoughRoom = "Not enough room to write archive";
}  // namespace texts

}  // namespace cb::zip
