#pragma once
// The upgrade information file, read once. A key is written "#" + name + "="
// and its value runs to the first character below 32 or the end of the
// text; "#message={" runs to the first "}" and may span lines. Keys are
// found without regard to case and the first occurrence counts; values keep
// their case. The text and the list of files are bounded, so a hostile file
// costs at most a few milliseconds.
#include "platform/rtl/Exception.h"

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace cb::upgrade {

// A file past the limits; the message says which.
class EUpgradeInfoFile : public cb::rtl::Exception {
public:
    using Exception::Exception;
};

class TUpgradeInfoFile {
public:
    static constexpr std::size_t MaxSize = 64 * 1024;
    static constexpr std::size_t MaxFiles = 256;
    // Keys longer than this are never asked for and are not kept.
    static constexpr std::size_t MaxKeyLength = 64;

    // Throws EUpgradeInfoFile for a text of more than MaxSize bytes or a
    // list of more than MaxFiles files.
    explicit TUpgradeInfoFile(std::string text);

    std::string Value(const std::string& key) const;
    // "url", then "url0", then "url" + (files so far + 1), + 2, ... while
    // present: the keys of the listed files in the order they are read.
    const std::vector<std::string>& UrlKeys() const { return FUrlKeys; }
    // The non-empty values of the url keys, in that order.
    std::vector<std::string> Files() const;

private:
    std::string FText;
    std::unordered_map<std::string, std::size_t> FValueAt;  // lower-case key -> offset of its value
    std::vector<std::string> FUrlKeys;

    bool Has(const std::string& lowerKey) const { return FValueAt.count(lowerKey) != 0; }
};

}  // namespace cb::upgrade
