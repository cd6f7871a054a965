#include "gif/GIFExtensions.h"

#include "gif/GIFException.h"
#include "gif/GIFImage.h"

#include <cstring>

namespace cb::gif {

using cb::rtl::TSeekOrigin;
using cb::rtl::TStream;

namespace {

void readExact(TStream& s, void* buffer, std::size_t n) {
    if (s.Read(buffer, n) != n) throw GIFException("Premature end of data");
}

bool readByte(TStream& s, std::uint8_t& b) {
    return s.Read(&b, 1) == 1;
}

struct TRegistries {
    std::vector<std::pair<std::uint8_t, TGIFExtensionFactory>> Labels;
    std::vector<std::pair<std::string, TGIFExtensionFactory>> Apps;
    TRegistries() {
        Labels.push_back({0x01, [](TGIFSubImage* f) { return std::make_unique<TGIFTextExtension>(f); }});
        Labels.push_back({0xF9, [](TGIFSubImage* f) { return std::make_unique<TGIFGraphicControlExtension>(f); }});
        Labels.push_back({0xFE, [](TGIFSubImage* f) { return std::make_unique<TGIFCommentExtension>(f); }});
        Labels.push_back({0xFF, [](TGIFSubImage* f) { return std::make_unique<TGIFUnknownAppExtension>(f); }});
        const auto loop = [](TGIFSubImage* f) { return std::make_unique<TGIFAppExtNSLoop>(f); };
        Apps.push_back({"NETSCAPE2.0", loop});
        Apps.push_back({"ANIMEXTS1.0", loop});
    }
};

TRegistries& registries() {
    static TRegistries r;
    return r;
}

}  // namespace

void RegisterExtension(std::uint8_t label, TGIFExtensionFactory factory) {
    registries().Labels.push_back({label, std::move(factory)});
}

void RegisterAppExtension(const std::string& identifier11, TGIFExtensionFactory factory) {
    registries().Apps.push_back({identifier11.substr(0, 11), std::move(factory)});
}

TGIFExtensionFactory FindExtensionClass(TStream& s) {
    const std::int64_t start = s.Position();
    TGIFExtensionFactory found;
    std::uint8_t label;
    if (readByte(s, label)) {
        const auto& labels = registries().Labels;
        for (auto it = labels.rbegin(); it != labels.rend(); ++it)
            if (it->first == label) {
                found = it->second;
                break;
            }
        if (found && label == 0xFF) {
            // Application blocks are refined by their identifier.
            std::uint8_t n = 0;
            char id[11];
            if (readByte(s, n) && (n == 10 || n == 11) && s.Read(id, n) == n) {
                if (n == 11) {
                    const std::string key(id, 11);
                    const auto& apps = registries().Apps;
                    for (auto it = apps.rbegin(); it != apps.rend(); ++it)
                        if (it->first == key) {
                            found = it->second;
                            break;
                        }
                }
            } else if (n == 10 || n == 11) {
                found = nullptr;  // the identifier cannot be read
            }
        }
    }
    s.SetPosition(start);
    return found;
}

void WriteTextLines(TStream& s, const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        for (std::size_t p = 0; p < line.size(); p += 255) {
            const std::size_t n = std::min<std::size_t>(255, line.size() - p);
            s.WriteU8(std::uint8_t(n));
            s.WriteBuffer(line.data() + p, n);
        }
    s.WriteU8(0);
}

void ReadTextLines(TStream& s, std::vector<std::string>& lines) {
    lines.clear();
    std::uint8_t n;
    while (readByte(s, n) && n != 0) {
        std::string line(n, '\0');
        readExact(s, line.data(), n);
        lines.push_back(std::move(line));
    }
}

void TGIFExtension::Warning(int severity, const std::string& message) const {
    if (FFrame && FFrame->Image()) FFrame->Image()->Warning(this, severity, message);
}

void TGIFExtension::ReadStart(TStream& s) const {
    std::uint8_t b[2];
    readExact(s, b, 2);
    if (b[0] != 0x21) throw GIFException("Invalid extension introducer");
    if (b[1] != Label()) throw GIFException("Internal error: Extension Instance does not match Extension Label");
}

// Graphic control.

TGIFGraphicControlExtension::TGIFGraphicControlExtension(TGIFSubImage* frame) : TGIFExtension(frame) {
    if (frame && !frame->FGraphicControl) frame->FGraphicControl = this;
}

TGIFGraphicControlExtension::~TGIFGraphicControlExtension() {
    if (!FFrame) return;
    if (Transparent()) FFrame->FTransparent = false;
    if (FFrame->FGraphicControl == this) FFrame->FGraphicControl = nullptr;
}

void TGIFGraphicControlExtension::SaveToStream(TStream& s) const {
    s.WriteU8(0x21);
    s.WriteU8(Label());
    s.WriteBuffer(FData.data(), FData.size());
}

void TGIFGraphicControlExtension::LoadFromStream(TStream& s) {
    ReadStart(s);
    std::array<std::uint8_t, 6> d = FData;
    const std::size_t got = s.Read(d.data(), 6);
    std::memcpy(FData.data(), d.data(), got);
    if (got < 6) {
        Warning(1, "Premature end of data");
        return;
    }
    if (Transparent() && FFrame) FFrame->FTransparent = true;
}

void TGIFGraphicControlExtension::SetTransparent(bool on) {
    FData[1] = std::uint8_t(on ? (FData[1] | 1) : (FData[1] & ~1));
    if (FFrame) FFrame->FTransparent = on;
}

void TGIFGraphicControlExtension::SetTransparentColorIndex(int index) {
    if (FFrame) {
        const int count = FFrame->ActiveColorMap().Count();
        if (count > 0 && (index < 0 || index >= count)) {
            Warning(1, "Invalid color index");
            index = 0;
        }
    }
    FData[4] = std::uint8_t(index);
}

void TGIFGraphicControlExtension::SetDelay(int delay) {
    FData[2] = std::uint8_t(delay);
    FData[3] = std::uint8_t(delay >> 8);
}

void TGIFGraphicControlExtension::SetDisposal(int d) {
    FData[1] = std::uint8_t((FData[1] & ~0x1C) | ((d & 7) << 2));
}

// Plain text and comment.

void TGIFTextExtension::SaveToStream(TStream& s) const {
    s.WriteU8(0x21);
    s.WriteU8(Label());
    s.WriteBuffer(Header.data(), Header.size());
    WriteTextLines(s, Text);
}

void TGIFTextExtension::LoadFromStream(TStream& s) {
    ReadStart(s);
    readExact(s, Header.data(), Header.size());
    ReadTextLines(s, Text);
}

void TGIFCommentExtension::SaveToStream(TStream& s) const {
    s.WriteU8(0x21);
    s.WriteU8(Label());
    WriteTextLines(s, Text);
}

void TGIFCommentExtension::LoadFromStream(TStream& s) {
    ReadStart(s);
    ReadTextLines(s, Text);
}

// Application blocks.

void TGIFApplicationExtension::SaveToStream(TStream& s) const {
    s.WriteU8(0x21);
    s.WriteU8(Label());
    s.WriteU8(11);
    s.WriteBuffer(Identifier.data(), Identifier.size());
    SaveData(s);
}

void TGIFApplicationExtension::LoadFromStream(TStream& s) {
    ReadStart(s);
    std::uint8_t n;
    readExact(s, &n, 1);
    if (n == 10) {
        Identifier.fill(0);
        readExact(s, Identifier.data(), 11);
        s.Seek(-1, TSeekOrigin::soCurrent);
    } else if (n < 10) {
        throw GIFException("Unsupported Application Extension block size");
    } else {
        readExact(s, Identifier.data(), 11);
        if (n > 11) {
            std::vector<std::uint8_t> skip(n - 11u);
            readExact(s, skip.data(), skip.size());
        }
    }
    LoadData(s);
}

TGIFAppExtNSLoop::TGIFAppExtNSLoop(TGIFSubImage* frame) : TGIFApplicationExtension(frame) {
    std::memcpy(Identifier.data(), "NETSCAPE2.0", 11);
}

void TGIFAppExtNSLoop::SaveData(TStream& s) const {
    const std::uint8_t loop[4] = {3, 1, std::uint8_t(Loops), std::uint8_t(Loops >> 8)};
    s.WriteBuffer(loop, 4);
    if (BufferSize != 0) {
        s.WriteU8(5);
        s.WriteU8(2);
        s.WriteU32(BufferSize);
    }
    s.WriteU8(0);
}

void TGIFAppExtNSLoop::LoadData(TStream& s) {
    std::uint8_t a;
    while (readByte(s, a) && a != 0) {
        std::uint8_t b;
        readExact(s, &b, 1);
        std::size_t rest = a - 1u;
        if ((b & 7) == 1) {
            if (a < 3) throw GIFException("Invalid GIF data");
            std::uint8_t c[2];
            readExact(s, c, 2);
            Loops = c[0] | (c[1] << 8);
            rest = a - 3u;
        } else if ((b & 7) == 2) {
            if (a < 5) throw GIFException("Invalid GIF data");
            std::uint8_t c[4];
            readExact(s, c, 4);
            BufferSize = std::uint32_t(c[0]) | (std::uint32_t(c[1]) << 8) | (std::uint32_t(c[2]) << 16) |
                         (std::uint32_t(c[3]) << 24);
            rest = a - 5u;
        }
        if (rest > 0) {
            std::vector<std::uint8_t> skip(rest);
            readExact(s, skip.data(), rest);
        }
    }
}

void TGIFUnknownAppExtension::SaveData(TStream& s) const {
    for (const std::string& b : Blocks) {
        if (b.empty()) continue;
        s.WriteU8(std::uint8_t(b.size()));
        s.WriteBuffer(b.data(), b.size());
    }
    s.WriteU8(0);
}

void TGIFUnknownAppExtension::LoadData(TStream& s) {
    Blocks.clear();
    std::uint8_t n;
    while (readByte(s, n) && n != 0) {
        std::string b(n, '\0');
        readExact(s, b.data(), n);
        Blocks.push_back(std::move(b));
    }
}

}  // namespace cb::gif
