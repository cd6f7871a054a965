// The stored form of a series' points ("Data").
#include "chart/series/ChartSeries.h"
#include "chart/series/SeriesContent.h"

#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Streams.h"

#include <cstring>
#include <string>
#include <vector>

namespace cb::chart {

namespace {

constexpr int MarkPositionSize = 34;

void putU32(std::string& out, std::uint32_t v) {
    const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.append(b, 4);
}

void putDouble(std::string& out, double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    putU32(out, std::uint32_t(u));
    putU32(out, std::uint32_t(u >> 32));
}

std::uint32_t getU32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

double getDouble(const unsigned char* p) {
    const std::uint64_t u = std::uint64_t(getU32(p)) | std::uint64_t(getU32(p + 4)) << 32;
    double v;
    std::memcpy(&v, &u, 8);
    return v;
}

void putPosition(std::string& out, const TSeriesMarkPosition* p) {
    const TSeriesMarkPosition none;
    const TSeriesMarkPosition& m = p ? *p : none;
    putU32(out, std::uint32_t(m.ArrowFrom.X));
    putU32(out, std::uint32_t(m.ArrowFrom.Y));
    out.push_back(char(m.ArrowFix ? 1 : 0));
    putU32(out, std::uint32_t(m.ArrowTo.X));
    putU32(out, std::uint32_t(m.ArrowTo.Y));
    out.push_back(char(m.Custom ? 1 : 0));
    putU32(out, std::uint32_t(m.Height));
    putU32(out, std::uint32_t(m.LeftTop.X));
    putU32(out, std::uint32_t(m.LeftTop.Y));
    putU32(out, std::uint32_t(m.Width));
}

TSeriesMarkPosition getPosition(const unsigned char* p) {
    TSeriesMarkPosition m;
    auto i32 = [](const unsigned char* q) { return int(std::int32_t(getU32(q))); };
    m.ArrowFrom = {i32(p), i32(p + 4)};
    m.ArrowFix = p[8] != 0;
    m.ArrowTo = {i32(p + 9), i32(p + 13)};
    m.Custom = p[17] != 0;
    m.Height = i32(p + 18);
    m.LeftTop = {i32(p + 22), i32(p + 26)};
    m.Width = i32(p + 30);
    return m;
}

[[noreturn]] void bad(const std::string& what) {
    throw cb::rtl::EReadError("Series data: " + what);
}

}  // namespace

void TChartSeries::WriteData(cb::rtl::TStream& stream) {
    const unsigned flags = ComputeSeriesContentFlags(*this);
    const int n = PointCount();
    const int extras = std::max(0, FValueLists.Count() - 2);
    std::string out;
    out.reserve(5 + std::size_t(n) * (8 + 8 * std::size_t(extras) + ((flags & scfXValues) ? 8 : 0)));
    out.push_back(char(flags));
    putU32(out, std::uint32_t(n));
    const double* other = FOther->Data();
    const double* mandatory = FMandatory->Data();
    for (int i = 0; i < n; ++i) {
        if (flags & scfXValues) putDouble(out, other[i]);
        putDouble(out, mandatory[i]);
        if (flags & scfPointColors) putU32(out, StoredPointColor(i));
        if (flags & scfLabels) {
            const std::string label = PointLabel(i);
            putU32(out, std::uint32_t(label.size()));
            out += label;
        }
        for (int k = 2; k < FValueLists.Count(); ++k) putDouble(out, FValueLists[k]->Data()[i]);
        if (flags & scfCustomMarks) putPosition(out, FMarks->Positions().PositionAt(i));
    }
    stream.WriteBuffer(out);
}

void TChartSeries::ReadData(cb::rtl::TStream& stream) {
    // Everything is read and checked before the series changes.
    const std::int64_t available = stream.Size() - stream.Position();
    std::int64_t left = available;
    auto take = [&](std::int64_t bytes, const char* what) {
        if (bytes > left)
            bad(std::string(what) + " needs " + std::to_string(bytes) + " bytes, " + std::to_string(left) +
                " remain");
        left -= bytes;
    };
    take(5, "the header");
    const unsigned flags = stream.ReadU8();
    if (flags > 15) bad("unknown content flags " + std::to_string(flags));
    const std::int32_t n = stream.ReadI32();
    if (n < 0) bad("negative point count " + std::to_string(n));
    const int extras = std::max(0, FValueLists.Count() - 2);
    const std::int64_t fixed = ((flags & scfXValues) ? 8 : 0) + 8 + ((flags & scfPointColors) ? 4 : 0) +
                               ((flags & scfLabels) ? 4 : 0) + 8 * std::int64_t(extras) +
                               ((flags & scfCustomMarks) ? MarkPositionSize : 0);
    if (fixed * n > left)
        bad(std::to_string(n) + " points need at least " + std::to_string(fixed * n) + " bytes, " +
            std::to_string(left) + " remain");

    std::vector<double> other((flags & scfXValues) ? std::size_t(n) : 0);
    std::vector<double> mandatory{};
    mandatory.resize(std::size_t(n));
    std::vector<TColor> colors((flags & scfPointColors) ? std::size_t(n) : 0);
    std::vector<std::string> labels((flags & scfLabels) ? std::size_t(n) : 0);
    std::vector<double> extra(std::size_t(n) * std::size_t(extras));
    std::vector<TSeriesMarkPosition> positions((flags & scfCustomMarks) ? std::size_t(n) : 0);
    std::vector<unsigned char> buf;
    if (!(flags & scfLabels)) {
        // Records of one size: read at once.
        buf.resize(std::size_t(fixed * n));
        take(fixed * n, "the points");
        if (!buf.empty()) stream.ReadBuffer(buf.data(), buf.size());
    }
    const unsigned char* p = buf.data();
    unsigned char rec[8 + 8 + 4 + 4];
    for (std::int32_t i = 0; i < n; ++i) {
        if (flags & scfLabels) {
            // Up to the label, then the label, then the rest.
            const std::size_t head = ((flags & scfXValues) ? 8 : 0) + 8 + ((flags & scfPointColors) ? 4 : 0) + 4;
            take(std::int64_t(head), "a point");
            stream.ReadBuffer(rec, head);
            p = rec;
        }
        if (flags & scfXValues) other[std::size_t(i)] = getDouble(p), p += 8;
        mandatory[std::size_t(i)] = getDouble(p), p += 8;
        if (flags & scfPointColors) colors[std::size_t(i)] = getU32(p), p += 4;
        if (flags & scfLabels) {
            const std::uint32_t len = getU32(p);
            take(std::int64_t(len), "a label");
            labels[std::size_t(i)] = stream.ReadString(len);
            const std::int64_t rest = 8 * std::int64_t(extras) + ((flags & scfCustomMarks) ? MarkPositionSize : 0);
            take(rest, "a point");
            buf.resize(std::size_t(rest));
            if (rest > 0) stream.ReadBuffer(buf.data(), buf.size());
            p = buf.data();
        }
        for (int k = 0; k < extras; ++k) extra[std::size_t(i) * std::size_t(extras) + std::size_t(k)] = getDouble(p), p += 8;
        if (flags & scfCustomMarks) positions[std::size_t(i)] = getPosition(p), p += MarkPositionSize;
    }

    RemoveAllPoints();
    HoldUpdates();
    auto release = cb::rtl::OnScopeExit([this] { ReleaseUpdates(); });
    const bool swapped = !FYMandatory;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::size_t u = std::size_t(i);
        const double a = (flags & scfXValues) ? other[u] : double(i);
        const double b = mandatory[u];
        for (int k = 0; k < extras; ++k) FValueLists[k + 2]->SetParkedValue(extra[u * std::size_t(extras) + std::size_t(k)]);
        std::optional<std::string> label;
        if (flags & scfLabels) label = std::move(labels[u]);
        const int at = swapped ? AddPoint(b, a, label, (flags & scfPointColors) ? colors[u] : clDefault)
                               : AddPoint(a, b, label, (flags & scfPointColors) ? colors[u] : clDefault);
        if ((flags & scfCustomMarks) && at >= 0) FMarks->Positions().Ensure(at) = positions[u];
    }
    release.Dismiss();
    ReleaseUpdates();
    FManualData = true;
}

}  // namespace cb::chart
