#include "extras/KitSysInfo.h"

#include <unistd.h>

namespace cb::extras {

namespace {

TKitSystemInfo& Info() {
    static TKitSystemInfo info;
    return info;
}

std::string Trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

}  // namespace

int WindowsVersionCode(bool NT, int Major, int Minor, const std::string& ServicePack,
                       std::uint32_t Kernel32ProductVersion) {
    const std::string sp = Trimmed(ServicePack);
    if (!NT) {
        if (Minor < 10) return sp == "B" ? 2 : 1;
        if (Minor < 90) {
            if (Kernel32ProductVersion == (4u << 16 | 90u)) return 5;
            return sp == "A" ? 4 : 3;
        }
        return Minor == 90 ? 5 : 0;
    }
    if (Major == 3) return Minor == 10 ? 6 : Minor == 50 ? 7 : Minor == 51 ? 8 : 0;
    if (Major == 4) return 9;
    if (Major == 5) return Minor == 0 ? 10 : Minor == 1 ? 11 : 0;
    return 0;
}

void SetVersionFlags(TKitSystemInfo& i, int Code) {
    bool* flags[] = {nullptr,   &i.Is95,   &i.Is95OSR2, &i.Is98,  &i.Is98SE, &i.IsME,
                     &i.IsNT31, &i.IsNT35, &i.IsNT351,  &i.IsNT4, &i.Is2000, &i.IsXP};
    i.VersionCode = Code;
    if (Code >= 1 && Code <= 11) *flags[Code] = true;
    i.IsNT3 = Code >= 6 && Code <= 8;
}

const TKitSystemInfo& KitSystemInfo() {
    return Info();
}

void SystemInfoSetup() {
    TKitSystemInfo i;
    const long cpus = ::sysconf(_SC_NPROCESSORS_ONLN);
    i.ProcessorCount = cpus > 0 ? int(cpus) : 1;
    const long page = ::sysconf(_SC_PAGESIZE);
    i.PageSize = page > 0 ? std::uint32_t(page) : 4096;
    i.AllocationGranularity = i.PageSize;  // mmap maps whole pages
    SetVersionFlags(i, 0);
    Info() = i;
}

}  // namespace cb::extras
