#include "extras/KitBlend.h"
#include "extras/KitCpuInfo.h"
#include "extras/KitStartup.h"
#include "extras/KitSysInfo.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace cb::extras;

TEST(StartupTables, WindowsVersionCodes) {
    struct Case {
        bool nt;
        int major, minor;
        const char* sp;
        std::uint32_t kernel;
        int code;
    } cases[] = {
        {false, 4, 0, "", 0, 1},
        {false, 4, 0, " B ", 0, 2},
        {false, 4, 10, "", 0, 3},
        {false, 4, 10, "A", 0, 4},
        {false, 4, 10, "A", 4u << 16 | 90, 5},
        {false, 4, 90, "", 0, 5},
        {false, 4, 95, "", 0, 0},
        {true, 3, 10, "", 0, 6},
        {true, 3, 50, "", 0, 7},
        {true, 3, 51, "", 0, 8},
        {true, 4, 0, "", 0, 9},
        {true, 5, 0, "", 0, 10},
        {true, 5, 1, "", 0, 11},
        {true, 5, 2, "", 0, 0},
        {true, 6, 0, "", 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WindowsVersionCode(c.nt, c.major, c.minor, c.sp, c.kernel), c.code)
            << c.nt << " " << c.major << "." << c.minor << " " << c.sp;

    TKitSystemInfo info;
    SetVersionFlags(info, 7);
    EXPECT_TRUE(info.IsNT35 && info.IsNT3);
    EXPECT_FALSE(info.IsNT4 || info.IsXP);
    TKitSystemInfo xp;
    SetVersionFlags(xp, 11);
    EXPECT_TRUE(xp.IsXP);
    EXPECT_FALSE(xp.IsNT3);
}

TEST(StartupTables, ProcessorNames) {
    struct Case {
        TCpuVendor vendor;
        int family, model, l2, brand;
        const char* name;
    } cases[] = {
        {cvIntel, 4, 1, 0, 0, "Intel 486DX Processor"},
        {cvIntel, 4, 9, 0, 0, "Intel 486 Processor"},
        {cvIntel, 5, 2, 0, 0, "Pentium"},
        {cvIntel, 6, 1, 256, 0, "Pentium Pro"},
        {cvIntel, 6, 5, 0, 0, "Celeron"},
        {cvIntel, 6, 5, 2048, 0, "Pentium II Xeon"},
        {cvIntel, 6, 8, 256, 0, "Pentium III"},
        {cvIntel, 6, 13, 0, 0, "P6 (Model 13)"},
        {cvIntel, 15, 2, 0, 0x0B, "Xeon"},
        {cvIntel, 7, 0, 0, 0, "P7"},
        {cvCyrix, 5, 2, 0, 0, "Cyrix 6x86"},
        {cvCyrix, 3, 0, 0, 0, "3x86"},
        {cvAMD, 5, 2, 0, 0, "AMD-K5 (Model 2)"},
        {cvAMD, 5, 8, 0, 0, "AMD-K6(R) -2"},
        {cvAMD, 5, 12, 0, 0, "Unknown AMD Model"},
        {cvAMD, 6, 0, 0, 0, "Unknown AMD Chip"},
        {cvTransmeta, 5, 4, 0, 0, "Crusoe"},
    };
    for (const auto& c : cases) EXPECT_EQ(CpuName(c.vendor, c.family, c.model, c.l2, c.brand), c.name) << c.name;
    EXPECT_EQ(CpuVendorOf("AuthenticAMD"), cvAMD);
    EXPECT_EQ(CpuVendorOf("SomethingElse"), cvUnknown);
    EXPECT_EQ(IntelCacheDescriptorText(0x40), "No L2 cache");
    EXPECT_EQ(IntelCacheDescriptorText(0x0A), "8KB data cache 2-way set associative, 32 byte line size");
    EXPECT_EQ(IntelL2CacheKB(0x43), 512);
    EXPECT_EQ(IntelL2CacheKB(0x0A), -1);
    EXPECT_TRUE(FDivCheck());
}

TEST(StartupTables, ClockSpeedRounding) {
    const std::pair<int, int> nice[] = {{1999, 2000}, {733, 733}, {866, 866}, {1004, 1000},
                                        {1010, 1020}, {445, 450}, {596, 600}, {70, 66}};
    for (const auto& [in, out] : nice) EXPECT_EQ(NiceMegahertz(in), out) << in;

    EXPECT_FALSE(SpeedRoundsAgree({1000, 1000}));
    EXPECT_TRUE(SpeedRoundsAgree({5, 1000, 1001, 1000}));
    EXPECT_FALSE(SpeedRoundsAgree({1000, 1003, 1000}));

    int raw = 0, reported = 0;
    SpeedFromTotals(2'799'600, 1000, raw, reported);  // 2799.6 MHz
    EXPECT_EQ(raw, 2800);
    EXPECT_EQ(reported, 2800);
    SpeedFromTotals(1000, 0, raw, reported);
    EXPECT_EQ(raw, 0);
}

TEST(StartupTables, BlendRoutines) {
    const auto& r = BlendRoutines();
    EXPECT_EQ(r.CombineReg(0x11223344, 0xAABBCCDD, 255), 0x11223344u);
    EXPECT_EQ(r.CombineReg(0x11223344, 0xAABBCCDD, 0), 0xAABBCCDDu);
    // 128 parts of 0xFF and 127 of 0: (0xFF * 128 + 0x80) >> 8 = 128.
    EXPECT_EQ(r.CombineReg(0x00FFFFFF, 0x00000000, 128), 0x00808080u);
    EXPECT_EQ(r.BlendReg(0xFF102030, 0x00405060), 0xFF102030u);
    EXPECT_EQ(r.BlendReg(0x00102030, 0x00405060), 0x00405060u);
    EXPECT_EQ(r.BlendRegEx(0xFF102030, 0x00405060, 0), 0x00405060u);
    std::uint32_t src[2] = {0xFF000000, 0x00FFFFFF}, dst[2] = {0x00FFFFFF, 0x00123456};
    r.BlendLine(src, dst, 2);
    EXPECT_EQ(dst[0], 0xFF000000u);
    EXPECT_EQ(dst[1], 0x00123456u);
}

TEST(StartupTables, StartupLeavesItsState) {
    KitStartup();
    EXPECT_EQ(KitSystemInfo().PageSize, std::uint32_t(::sysconf(_SC_PAGESIZE)));
    EXPECT_GE(KitSystemInfo().ProcessorCount, 1);
    EXPECT_EQ(KitSystemInfo().VersionCode, 0);
    const TCpuInfo& cpu = KitCpuInfo();
#if defined(__x86_64__)
    EXPECT_TRUE(cpu.CpuIdPresent);
    EXPECT_FALSE(cpu.VendorString.empty());
    EXPECT_FALSE(cpu.Name.empty());
    EXPECT_LE(cpu.Name.size(), 48u);
    EXPECT_TRUE(cpu.MMX);
    if (cpu.Features >> 4 & 1) {
        EXPECT_GT(cpu.MHz, 0);
        EXPECT_GT(cpu.Microseconds, 0);
    }
#endif
    if (cpu.MMX) {
        ASSERT_NE(AlphaTable(), nullptr);
        EXPECT_EQ((*AlphaTable())[128], (std::array<std::uint16_t, 4>{128, 128, 128, 128}));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(AlphaTable()) % 8, 0u);
    }
    KitShutdown();
    EXPECT_EQ(AlphaTable(), nullptr);

    const auto& g = GammaTable();
    EXPECT_EQ(g[0], 0);
    EXPECT_EQ(g[1], 5);
    EXPECT_EQ(g[128], 157);
    EXPECT_EQ(g[255], 255);
    EXPECT_TRUE(std::is_sorted(g.begin(), g.end()));
    EXPECT_EQ(IdentityMatrix()[1][1], 1.0L);
    EXPECT_EQ(IdentityMatrix()[0][2], 0.0L);

    EXPECT_EQ(KitCursor(crKitHand).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(KitCursor(crKitDrag).shape(), Qt::DragMoveCursor);
    EXPECT_TRUE(HasFourDigitYear("dd/MM/yyyy"));
    EXPECT_FALSE(HasFourDigitYear("d.m.yy"));
    EXPECT_EQ(FourDigitYear(), HasFourDigitYear("dd/mm/yyyy"));
}
