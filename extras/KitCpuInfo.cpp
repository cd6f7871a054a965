#include "extras/KitCpuInfo.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <mutex>
#include <numbers>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define CB_HAS_CPUID 1
#endif

namespace cb::extras {

namespace {

TCpuInfo& Info() {
    static TCpuInfo info;
    return info;
}

bool& SpeedPending() {
    static bool pending = false;
    return pending;
}

std::mutex& InfoLock() {
    static std::mutex lock;
    return lock;
}

struct TDescriptor {
    unsigned Code;
    const char* Text;
    int L2KB;
};

const TDescriptor Descriptors[] = {
    {0x01, "Instruction TLB: 4KB pages, 4-way set associative, 32 entries", -1},
    {0x02, "Instruction TLB: 4MB pages, fully associative, 2 entries", -1},
    {0x03, "Data TLB: 4KB pages, 4-way set associative, 64 entries", -1},
    {0x04, "Data TLB: 4MB pages, 4-way set associative, 8 entries", -1},
    {0x06, "8KB instruction cache, 4-way set associative, 32 byte line size", -1},
    {0x08, "16KB instruction cache, 4-way set associative, 32 byte line size", -1},
    {0x0A, "8KB data cache 2-way set associative, 32 byte line size", -1},
    {0x0C, "16KB data cache, 4-way set associative, 32 byte line size", -1},
    {0x40, "No L2 cache", 0},
    {0x41, "128KB L2 cache, 4-way set associative, 32 byte line size", 128},
    {0x42, "256KB L2 cache, 4-way set associative, 32 byte line size", 256},
    {0x43, "512KB L2 cache, 4-way set associative, 32 byte line size", 512},
    {0x44, "1MB L2 cache, 4-way set associative, 32 byte line size", 1024},
    {0x45, "2MB L2 cache, 4-way set associative, 32 byte line size", 2048},
};

std::string Printf(const char* format, int value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::string IntelName(int family, int model, int l2, int brand) {
    switch (family) {
    case 4:
        switch (model) {
        case 1:
            return "Intel 486DX Processor";
        case 2:
            return "Intel 486SX Processor";
        case 3:
            return "Intel DX2 Processor";
        case 5:
            return "Intel SX2 Processor";
        case 7:
            return "Write-Back Enhanced Intel DX2 Processor";
        case 8:
            return "Intel DX4 Processor";
        default:
            return "Intel 486 Processor";
        }
    case 5:
        return "Pentium";
    case 6:
        switch (model) {
        case 1:
            return "Pentium Pro";
        case 3:
            return "Pentium II";
        case 5:
        case 6:
            if (l2 == 0 || model == 6) return "Celeron";
            return l2 >= 1024 ? "Pentium II Xeon" : "Pentium II";
        case 7:
        case 8:
        case 10:
        case 11:
            if (l2 == 128) return "Celeron";
            return l2 >= 1024 ? "Pentium III Xeon" : "Pentium III";
        default:
            return Printf("P6 (Model %d)", model);
        }
    case 15:
        switch (brand) {
        case 0x0A:
            return "Celeron";
        case 0x0B:
        case 0x0E:
            return "Xeon";
        default:
            return "Pentium 4";
        }
    default:
        return Printf("P%d", family);
    }
}

std::string CyrixName(int family, int model) {
    if (family == 4 && model == 4) return "Cyrix MediaGX";
    if (family == 5 && model == 2) return "Cyrix 6x86";
    if (family == 5 && model == 4) return "Cyrix GXm";
    if (family == 6) return "6x86MX";
    return Printf("%dx86", family);
}

std::string AmdName(int family, int model) {
    if (family == 4) return "Am486(R) or Am5x86";
    if (family != 5) return "Unknown AMD Chip";
    switch (model) {
    case 0:
    case 1:
    case 2:
    case 3:
        return Printf("AMD-K5 (Model %d)", model);
    case 6:
        return "AMD-K6(R)";
    case 7:
        return "AMD-K6";
    case 8:
        return "AMD-K6(R) -2";
    case 9:
        return "AMD-K6(R) -3";
    default:
        return "Unknown AMD Model";
    }
}

#ifdef CB_HAS_CPUID
std::int64_t MonotonicMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// One round: wait for the counter to advance 50 ticks, then count cycles
// over 1000 more (microsecond ticks here).
void MeasureRound(std::int64_t& cycles, std::int64_t& micros) {
    std::int64_t t0 = MonotonicMicroseconds();
    while (MonotonicMicroseconds() - t0 < 50) {}
    t0 = MonotonicMicroseconds();
    const std::uint64_t c0 = __rdtsc();
    std::int64_t t1 = t0;
    while ((t1 = MonotonicMicroseconds()) - t0 < 1000) {}
    cycles = std::int64_t(__rdtsc() - c0);
    micros = t1 - t0;
}
#endif

// At least 3 and at most 20 rounds, until the last three agree.
void MeasureSpeed([[maybe_unused]] TCpuInfo& i) {
#ifdef CB_HAS_CPUID
    std::vector<int> rounds;
    while (rounds.size() < 20 && (rounds.size() < 3 || !SpeedRoundsAgree(rounds))) {
        std::int64_t cycles = 0, micros = 0;
        MeasureRound(cycles, micros);
        i.Cycles += cycles;
        i.Microseconds += micros;
        rounds.push_back(micros > 0 ? int(cycles / micros) : 0);
    }
    SpeedFromTotals(i.Cycles, i.Microseconds, i.RawMHz, i.MHz);
#endif
}

}  // namespace

TCpuVendor CpuVendorOf(const std::string& v) {
    if (v == "GenuineIntel") return cvIntel;
    if (v == "CyrixInstead") return cvCyrix;
    if (v == "AuthenticAMD") return cvAMD;
    if (v == "GenuineTMx86") return cvTransmeta;
    return cvUnknown;
}

std::string CpuName(TCpuVendor Vendor, int Family, int Model, int L2CacheKB, int BrandIndex) {
    switch (Vendor) {
    case cvIntel:
        return IntelName(Family, Model, L2CacheKB, BrandIndex);
    case cvCyrix:
        return CyrixName(Family, Model);
    case cvAMD:
        return AmdName(Family, Model);
    case cvTransmeta:
        return "Crusoe";
    default:
        return {};
    }
}

std::string IntelCacheDescriptorText(unsigned d) {
    for (const auto& e : Descriptors)
        if (e.Code == d) return e.Text;
    return {};
}

int IntelL2CacheKB(unsigned d) {
    for (const auto& e : Descriptors)
        if (e.Code == d) return e.L2KB;
    return -1;
}

bool FDivCheck() {
    volatile double x = 2658955.0, pi = std::numbers::pi;
    return x - (x / pi) * pi < 1.0;
}

int NiceMegahertz(int MHz) {
    static const int nice[] = {0, 20, 33, 50, 60, 66, 80, 90, 100};
    const int r = MHz % 100;
    int best = 0;
    for (int n : nice)
        if (std::abs(n - r) <= std::abs(best - r)) best = n;
    return MHz - r + best;
}

bool SpeedRoundsAgree(const std::vector<int>& r) {
    if (r.size() < 3) return false;
    const int a = r[r.size() - 3], b = r[r.size() - 2], c = r[r.size() - 1], sum = a + b + c;
    return std::abs(a * 3 - sum) <= 3 && std::abs(b * 3 - sum) <= 3 && std::abs(c * 3 - sum) <= 3;
}

void SpeedFromTotals(std::int64_t Cycles, std::int64_t Microseconds, int& Raw, int& Reported) {
    Raw = Reported = 0;
    if (Microseconds <= 0) return;
    Raw = int(std::llround(double(Cycles) / double(Microseconds)));
    const std::int64_t tenths = Cycles * 10 / Microseconds;
    Reported = Raw;
    if (tenths - std::int64_t(Raw) * 10 > 5) Reported = Raw + 1;
    Reported = NiceMegahertz(Reported);
}

const TCpuInfo& KitCpuInfo() {
    std::lock_guard lock(InfoLock());
    if (SpeedPending()) {
        SpeedPending() = false;
        MeasureSpeed(Info());
    }
    return Info();
}

bool KitCpuHasMMX() {
    std::lock_guard lock(InfoLock());
    return Info().MMX;
}

void CpuIdentify() {
    TCpuInfo i;
    i.FDivOK = FDivCheck();
#ifdef CB_HAS_CPUID
    unsigned a = 0, b = 0, c = 0, d = 0;
    i.CpuIdPresent = __get_cpuid_max(0, nullptr) != 0;
    if (i.CpuIdPresent) {
        const unsigned maxLeaf = __get_cpuid_max(0, nullptr);
        __cpuid(0, a, b, c, d);
        char vendor[13] = {};
        std::memcpy(vendor, &b, 4);
        std::memcpy(vendor + 4, &d, 4);
        std::memcpy(vendor + 8, &c, 4);
        i.VendorString = vendor;
        i.Vendor = CpuVendorOf(i.VendorString);
        int brand = 0;
        if (maxLeaf >= 1) {
            __cpuid(1, a, b, c, d);
            i.Family = int(a >> 8 & 0xF);
            i.Model = int(a >> 4 & 0xF);
            i.Stepping = int(a & 0xF);
            i.Features = d;
            i.MMX = (d >> 23 & 1) != 0;
            brand = int(b & 0xFF);
        }
        if (i.Vendor == cvIntel && maxLeaf >= 2) {
            __cpuid(2, a, b, c, d);
            for (unsigned reg : {a & 0xFFFFFF00u, b, c, d}) {
                if (reg & 0x80000000u) continue;  // no descriptors in this register
                for (int k = 0; k < 4; ++k) {
                    const unsigned desc = reg >> (8 * k) & 0xFF;
                    if (const std::string text = IntelCacheDescriptorText(desc); !text.empty()) {
                        i.CacheDescriptors.push_back(text);
                        if (IntelL2CacheKB(desc) >= 0) i.L2CacheKB = IntelL2CacheKB(desc);
                    }
                }
            }
        }
        const unsigned maxExt = __get_cpuid_max(0x80000000u, nullptr);
        if (maxExt >= 0x80000004u) {
            char name[49] = {};
            for (unsigned leaf = 0; leaf < 3; ++leaf) {
                __cpuid(0x80000002u + leaf, a, b, c, d);
                std::memcpy(name + leaf * 16, &a, 4);
                std::memcpy(name + leaf * 16 + 4, &b, 4);
                std::memcpy(name + leaf * 16 + 8, &c, 4);
                std::memcpy(name + leaf * 16 + 12, &d, 4);
            }
            i.Name = name;
            i.Name.erase(0, i.Name.find_first_not_of(' '));
        }
        if (i.Name.empty()) i.Name = CpuName(i.Vendor, i.Family, i.Model, i.L2CacheKB, brand);
    }
#endif
    std::lock_guard lock(InfoLock());
    Info() = i;
    // The time-stamp counter present (feature bit 4): the speed is measured
    // when first read, not at start-up where it would cost 3 ms or more.
    SpeedPending() = (i.Features >> 4 & 1) != 0;
}

}  // namespace cb::extras
