#pragma once
// System facts taken once at start-up: processors, page size, allocation
// granularity, and the version flags of the other platform's releases
// (all off here, where the program does not run on it).
#include <cstdint>
#include <string>

namespace cb::extras {

struct TKitSystemInfo {
    int ProcessorCount = 1;
    std::uint32_t AllocationGranularity = 0;
    std::uint32_t PageSize = 0;
    bool IsNT = false;
    std::uint32_t Kernel32ProductVersion = 0;  // major << 16 | minor; 0 on NT
    int VersionCode = 0;
    bool Is95 = false, Is95OSR2 = false, Is98 = false, Is98SE = false, IsME = false;
    bool IsNT31 = false, IsNT35 = false, IsNT351 = false, IsNT3 = false, IsNT4 = false, Is2000 = false, IsXP = false;
};

// 1 95, 2 95 OSR2, 3 98, 4 98 SE, 5 ME, 6 NT 3.1, 7 NT 3.5, 8 NT 3.51,
// 9 NT 4, 10 2000, 11 XP, 0 anything else.
int WindowsVersionCode(bool NT, int Major, int Minor, const std::string& ServicePack,
                       std::uint32_t Kernel32ProductVersion);
// Sets the flag of a version code (and the NT 3 flag for 6 to 8).
void SetVersionFlags(TKitSystemInfo& Info, int Code);

const TKitSystemInfo& KitSystemInfo();
void SystemInfoSetup();

}  // namespace cb::extras
