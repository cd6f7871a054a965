#pragma once
// A GIF colour table: up to 256 red-green-blue entries in file order, kept
// in memory, converted to and from colour values, read and written in the
// GIF layout, and sorted by how often the pixels use each entry.
#include "platform/gfx/Color.h"
#include "platform/rtl/Streams.h"

#include <array>
#include <cstdint>
#include <vector>

namespace cb::gif {

class TGIFImage;
class TGIFSubImage;
class TGIFHeader;

using TGIFColor = std::array<std::uint8_t, 3>;  // red, green, blue

class TGIFColorMap {
public:
    TGIFColorMap() = default;
    TGIFColorMap(const TGIFColorMap&) = delete;
    TGIFColorMap& operator=(const TGIFColorMap&) = delete;
    virtual ~TGIFColorMap() = default;

    void Clear();
    void SetCapacity(int n);
    int Capacity() const { return FCapacity; }
    int Count() const { return int(FEntries.size()); }
    bool Optimized() const { return FOptimized; }
    const TGIFColor& Entry(int i) const { return FEntries[std::size_t(i)]; }
    const std::vector<TGIFColor>& Entries() const { return FEntries; }

    // Reads n entries ("Premature end of data" when short).
    void LoadFromStream(cb::rtl::TStream& s, int n);
    // The entries, then zero entries up to 2^BitsPerPixel().
    void SaveToStream(cb::rtl::TStream& s) const;

    int FindColor(cb::gfx::TColor c) const;
    int AppendColor(cb::gfx::TColor c);
    int AppendUniqueColor(cb::gfx::TColor c);
    void RemoveColor(int index);
    cb::gfx::TColor ColorAt(int index) const;
    void FromColorTable(const TGIFColor* entries, int n);
    void Assign(const TGIFColorMap& source);
    int BitsPerPixel() const { return BitsForCount(Count()); }

    // Sorts the entries by use, most used first, drops the unused ones at
    // the end and renumbers the pixels; false when nothing was to be done.
    virtual bool Optimize();
    virtual void Warning(int severity, const std::string& message) const;

    static int BitsForCount(int n);
    static cb::gfx::TColor ToColor(const TGIFColor& e) { return cb::gfx::TColor(e[0] | (e[1] << 8) | (e[2] << 16)); }

protected:
    // Uses of each entry (256 slots) over the pixels that use this table.
    virtual void BuildHistogram(std::array<int, 256>& uses) const = 0;
    // Rewrites the pixels through the map (new index of old index i).
    virtual void MapImages(const std::array<std::uint8_t, 256>& map) = 0;
    virtual void Changed() {}
    bool DoOptimize();

private:
    std::vector<TGIFColor> FEntries;
    int FCapacity = 0;
    bool FOptimized = false;
};

class TGIFGlobalColorMap : public TGIFColorMap {
public:
    explicit TGIFGlobalColorMap(TGIFHeader* header) : FHeader(header) {}
    bool Optimize() override;
    void Warning(int severity, const std::string& message) const override;

protected:
    void BuildHistogram(std::array<int, 256>& uses) const override;
    void MapImages(const std::array<std::uint8_t, 256>& map) override;
    void Changed() override;

private:
    TGIFHeader* FHeader;
};

class TGIFLocalColorMap : public TGIFColorMap {
public:
    explicit TGIFLocalColorMap(TGIFSubImage* frame) : FFrame(frame) {}
    void Warning(int severity, const std::string& message) const override;

protected:
    void BuildHistogram(std::array<int, 256>& uses) const override;
    void MapImages(const std::array<std::uint8_t, 256>& map) override;
    void Changed() override;

private:
    TGIFSubImage* FFrame;
};

}  // namespace cb::gif
