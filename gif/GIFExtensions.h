#pragma once
// GIF89a extension blocks of one frame: graphic control, plain text,
// comment and application blocks (the loop block and unknown ones), the two
// registries that map labels and application identifiers to classes, and
// reading a frame's list of extensions.
#include "platform/rtl/Streams.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cb::gif {

class TGIFSubImage;
class TGIFImage;

class TGIFExtension {
public:
    explicit TGIFExtension(TGIFSubImage* frame) : FFrame(frame) {}
    TGIFExtension(const TGIFExtension&) = delete;
    TGIFExtension& operator=(const TGIFExtension&) = delete;
    virtual ~TGIFExtension() = default;

    virtual std::uint8_t Label() const = 0;
    int Version() const { return 2; }
    // Writes introducer, label and data.
    virtual void SaveToStream(cb::rtl::TStream& s) const = 0;
    // Reads the block from its introducer on.
    virtual void LoadFromStream(cb::rtl::TStream& s) = 0;
    TGIFSubImage* Frame() const { return FFrame; }
    void Warning(int severity, const std::string& message) const;

protected:
    // Introducer and label ("Premature end of data", "Invalid extension
    // introducer", "Internal error: ...").
    void ReadStart(cb::rtl::TStream& s) const;
    TGIFSubImage* FFrame;
};

class TGIFGraphicControlExtension : public TGIFExtension {
public:
    explicit TGIFGraphicControlExtension(TGIFSubImage* frame);
    ~TGIFGraphicControlExtension() override;
    std::uint8_t Label() const override { return 0xF9; }
    void SaveToStream(cb::rtl::TStream& s) const override;
    void LoadFromStream(cb::rtl::TStream& s) override;

    bool Transparent() const { return FData[1] & 1; }
    void SetTransparent(bool on);
    int TransparentColorIndex() const { return FData[4]; }
    void SetTransparentColorIndex(int index);
    int Delay() const { return FData[2] | (FData[3] << 8); }  // hundredths of a second
    void SetDelay(int delay);
    bool UserInput() const { return FData[1] & 2; }
    int Disposal() const { return (FData[1] >> 2) & 7; }
    void SetDisposal(int d);
    const std::array<std::uint8_t, 6>& Data() const { return FData; }

private:
    std::array<std::uint8_t, 6> FData{4, 0, 0, 0, 0, 0};
};

// Lines of text kept as data sub-blocks (plain text and comment blocks).
class TGIFTextExtension : public TGIFExtension {
public:
    explicit TGIFTextExtension(TGIFSubImage* frame) : TGIFExtension(frame) {}
    std::uint8_t Label() const override { return 0x01; }
    void SaveToStream(cb::rtl::TStream& s) const override;
    void LoadFromStream(cb::rtl::TStream& s) override;
    std::vector<std::string> Text;
    std::array<std::uint8_t, 13> Header{12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
};

class TGIFCommentExtension : public TGIFExtension {
public:
    explicit TGIFCommentExtension(TGIFSubImage* frame) : TGIFExtension(frame) {}
    std::uint8_t Label() const override { return 0xFE; }
    void SaveToStream(cb::rtl::TStream& s) const override;
    void LoadFromStream(cb::rtl::TStream& s) override;
    std::vector<std::string> Text;
};

using TGIFAppIdentifier = std::array<std::uint8_t, 11>;  // 8 identifier bytes and 3 authentication bytes

class TGIFApplicationExtension : public TGIFExtension {
public:
    explicit TGIFApplicationExtension(TGIFSubImage* frame) : TGIFExtension(frame) {}
    std::uint8_t Label() const override { return 0xFF; }
    void SaveToStream(cb::rtl::TStream& s) const override;
    void LoadFromStream(cb::rtl::TStream& s) override;
    TGIFAppIdentifier Identifier{};

protected:
    virtual void SaveData(cb::rtl::TStream& s) const = 0;
    virtual void LoadData(cb::rtl::TStream& s) = 0;
};

// The loop block ("NETSCAPE2.0" or "ANIMEXTS1.0").
class TGIFAppExtNSLoop : public TGIFApplicationExtension {
public:
    explicit TGIFAppExtNSLoop(TGIFSubImage* frame);
    int Loops = 0;  // 0: for ever
    std::uint32_t BufferSize = 0;

protected:
    void SaveData(cb::rtl::TStream& s) const override;
    void LoadData(cb::rtl::TStream& s) override;
};

class TGIFUnknownAppExtension : public TGIFApplicationExtension {
public:
    using TGIFApplicationExtension::TGIFApplicationExtension;
    std::vector<std::string> Blocks;  // raw sub-blocks, 1..255 bytes each

protected:
    void SaveData(cb::rtl::TStream& s) const override;
    void LoadData(cb::rtl::TStream& s) override;
};

using TGIFExtensionFactory = std::function<std::unique_ptr<TGIFExtension>(TGIFSubImage*)>;

// Later registrations win.
void RegisterExtension(std::uint8_t label, TGIFExtensionFactory factory);
void RegisterAppExtension(const std::string& identifier11, TGIFExtensionFactory factory);

// The class for the block at the stream's position (just after the
// introducer); the position is kept. Empty when there is none.
TGIFExtensionFactory FindExtensionClass(cb::rtl::TStream& s);

// Text lines as sub-blocks and a 0 byte; reading turns each sub-block into
// a line.
void WriteTextLines(cb::rtl::TStream& s, const std::vector<std::string>& lines);
void ReadTextLines(cb::rtl::TStream& s, std::vector<std::string>& lines);

}  // namespace cb::gif
