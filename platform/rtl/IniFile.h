#pragma once
// INI files: sections of Name=Value lines, looked up without regard to ASCII
// case. The order of sections and keys, comments (';') and blank lines are
// kept when the file is written again; new keys go to the end of their
// section, new sections to the end of the file. Names and values are kept
// as bytes, trimmed of blanks (as they are when read).
//
// TIniFile writes the file at once on every change (write through);
// TMemIniFile keeps changes in memory until UpdateFile(). Files are written
// atomically with "\r\n" line ends; a failure throws EInOutError and leaves
// the old file as it was. A missing file reads as empty; a file that exists
// but cannot be read, or is larger than 16 MiB, throws EInOutError.
#include <memory>
#include <string>
#include <vector>

namespace cb::rtl {

class TCustomIniFile {
public:
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;
    virtual ~TCustomIniFile();

    const std::string& FileName() const { return FFileName; }

    // A missing key returns Default; so does a value that does not parse.
    std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) const;
    // Decimal, "$hex" or "0xhex" (hex wraps to 32 bits, like a colour
    // $80000005); a decimal outside the int range returns Default.
    int ReadInteger(const std::string& Section, const std::string& Ident, int Default) const;
    // "0" is false, any other integer true; "true"/"false", "yes"/"no",
    // "on"/"off" are accepted in any case.
    bool ReadBool(const std::string& Section, const std::string& Ident, bool Default) const;
    // '.' as decimal separator, optional exponent.
    double ReadFloat(const std::string& Section, const std::string& Ident, double Default) const;

    // A value's line breaks are written as spaces, since a line is a value.
    void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value);
    void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
    void WriteBool(const std::string& Section, const std::string& Ident, bool Value);  // "1"/"0"
    void WriteFloat(const std::string& Section, const std::string& Ident, double Value);

    bool SectionExists(const std::string& Section) const;
    bool ValueExists(const std::string& Section, const std::string& Ident) const;
    // Key names of a section, in file order.
    std::vector<std::string> ReadSection(const std::string& Section) const;
    // Section names, in file order.
    std::vector<std::string> ReadSections() const;
    // "Name=Value" lines of a section, in file order.
    std::vector<std::string> ReadSectionValues(const std::string& Section) const;
    void EraseSection(const std::string& Section);
    // Adds an empty section when there is none of that name.
    void AddSection(const std::string& Section);
    void DeleteKey(const std::string& Section, const std::string& Ident);

    // Writes the file (atomically) whether or not anything changed.
    void UpdateFile();
    // Whether changes wait for UpdateFile().
    bool Modified() const { return FModified; }

    // Write through: each change writes the file at once.
    bool AutoFlush() const { return FAutoFlush; }
    void SetAutoFlush(bool Value) { FAutoFlush = Value; }

    // The whole text as it would be written.
    std::string GetText() const;
    // Replaces the contents with a parsed text (does not write the file).
    void SetText(const std::string& Text);

protected:
    TCustomIniFile(const std::string& FileName, bool AutoFlush);

private:
    struct Impl;
    void Changed();

    std::string FFileName;
    bool FAutoFlush;
    bool FModified = false;
    std::unique_ptr<Impl> FImpl;
};

// Write through: every Write*, DeleteKey and EraseSection writes the file.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const std::string& FileName) : TCustomIniFile(FileName, true) {}
};

// Changes are kept in memory until UpdateFile(); destroying it without
// UpdateFile() drops them.
class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const std::string& FileName) : TCustomIniFile(FileName, false) {}
};

}  // namespace cb::rtl
