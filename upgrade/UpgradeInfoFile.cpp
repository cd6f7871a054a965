#include "upgrade/UpgradeInfoFile.h"

#include "platform/rtl/Strings.h"

namespace cb::upgrade {

TUpgradeInfoFile::TUpgradeInfoFile(std::string text) : FText(std::move(text)) {
    if (FText.size() > MaxSize)
        throw EUpgradeInfoFile("The upgrade information file is too large (" + std::to_string(FText.size()) +
                               " bytes, at most " + std::to_string(MaxSize) + ")");
    // One pass: every "#" starts a key that ends at the first "=" after it.
    // A key is looked at for at most MaxKeyLength characters, so the pass
    // stays linear whatever the text holds.
    for (std::size_t p = FText.find('#'); p != std::string::npos; p = FText.find('#', p + 1)) {
        const std::size_t limit = std::min(FText.size(), p + 1 + MaxKeyLength + 1);
        std::size_t eq = p + 1;
        while (eq < limit && FText[eq] != '=') ++eq;
        if (eq >= limit) continue;
        FValueAt.emplace(cb::rtl::LowerCase(FText.substr(p + 1, eq - p - 1)), eq + 1);
    }
    std::size_t count = 0;
    for (const char* k : {"url", "url0"}) {
        if (!Has(k)) continue;
        FUrlKeys.push_back(k);
        if (!Value(k).empty()) ++count;
    }
    for (std::size_t n = count + 1;; ++n) {
        std::string k = "url" + std::to_string(n);
        if (!Has(k)) break;
        if (FUrlKeys.size() >= MaxFiles)
            throw EUpgradeInfoFile("The upgrade information file lists more than " + std::to_string(MaxFiles) +
                                   " files");
        FUrlKeys.push_back(std::move(k));
    }
}

std::string TUpgradeInfoFile::Value(const std::string& key) const {
    const std::string lower = cb::rtl::LowerCase(key);
    const auto it = FValueAt.find(lower);
    if (it == FValueAt.end()) return {};
    const std::size_t start = it->second;
    if (lower == "message") {
        if (start >= FText.size() || FText[start] != '{') return {};
        const auto end = FText.find('}', start + 1);
        return FText.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
    }
    std::size_t end = start;
    while (end < FText.size() && static_cast<unsigned char>(FText[end]) >= 32) ++end;
    return FText.substr(start, end - start);
}

std::vector<std::string> TUpgradeInfoFile::Files() const {
    std::vector<std::string> files;
    for (const auto& k : FUrlKeys)
        if (std::string v = Value(k); !v.empty()) files.push_back(std::move(v));
    return files;
}

}  // namespace cb::upgrade
