#pragma once
// Identification of the processor (CPUID) at start-up and a measurement of
// its clock when first asked for.
#include <cstdint>
#include <string>
#include <vector>

namespace cb::extras {

enum TCpuVendor {
    cvUnknown,
    cvIntel,
    cvCyrix,
    cvAMD,
    cvTransmeta
};

struct TCpuInfo {
    bool CpuIdPresent = false;
    TCpuVendor Vendor = cvUnknown;
    std::string VendorString;  // "GenuineIntel" and the like
    int Family = 0, Model = 0, Stepping = 0;
    std::uint32_t Features = 0;
    bool MMX = false;  // feature bit 23
    bool FDivOK = true;
    int L2CacheKB = 0;
    std::string Name;  // up to 48 characters
    std::vector<std::string> CacheDescriptors;
    int RawMHz = 0, MHz = 0;
    std::int64_t Cycles = 0, Microseconds = 0;
};

// The processor's name from vendor, family, model, L2 cache size and the
// brand index of leaf 1 (family 15 of Intel).
std::string CpuName(TCpuVendor Vendor, int Family, int Model, int L2CacheKB, int BrandIndex);
TCpuVendor CpuVendorOf(const std::string& VendorString);
// The text of an Intel cache descriptor ("" when unknown), and the L2 size
// it gives (-1 when none).
std::string IntelCacheDescriptorText(unsigned Descriptor);
int IntelL2CacheKB(unsigned Descriptor);
// 2658955 - (2658955 / pi) * pi below 1.
bool FDivCheck();
// The clock in MHz with its hundreds remainder moved to the nearest of 0,
// 20, 33, 50, 60, 66, 80, 90 and 100 (the upper one on ties).
int NiceMegahertz(int MHz);
// True once the last three round values agree: each times 3 is within 3 of
// their sum.
bool SpeedRoundsAgree(const std::vector<int>& Rounds);
// Raw and reported MHz of the measured totals.
void SpeedFromTotals(std::int64_t Cycles, std::int64_t Microseconds, int& Raw, int& Reported);

// The record of CpuIdentify; with a time-stamp counter, the first call
// measures the speed.
const TCpuInfo& KitCpuInfo();
// The MMX flag of the record, without measuring.
bool KitCpuHasMMX();
// Identifies the processor; its speed is measured when first read.
void CpuIdentify();

}  // namespace cb::extras
