#pragma once
// TTabExport: the root of the tabular exporters. It binds one row source,
// builds the column model and the row for it, and runs the export loop,
// handing every stage to virtual operations that each output format
// overrides. TTabExportText adds the result file, TTabExportAdvancedText
// header and footer lines, TTabExportFormatText captions and formats.
#include "tabexport/core/ExportSource.h"
#include "tabexport/core/TabExportColumns.h"
#include "tabexport/core/TabExportFormats.h"
#include "tabexport/core/TabExportRow.h"
#include "tabexport/core/TabExportTypes.h"

#include "platform/rtl/StringList.h"

#include <functional>
#include <memory>
#include <string>

namespace cb::rtl {
class TStream;
class TCustomIniFile;
}  // namespace cb::rtl

namespace cb::tabexport {

class TTabExport;

// Puts an export's text on its output stream (not owned).
class TTabExportWriter {
public:
    TTabExportWriter(TTabExport* Owner, cb::rtl::TStream* Stream) : FOwner(Owner), FStream(Stream) {}
    virtual ~TTabExportWriter() = default;
    virtual std::string AlignToStr(TTabExportColAlign Align);
    void Write(const std::string& S);
    void WriteLine(const std::string& S);
    cb::rtl::TStream* Stream() const { return FStream; }
    TTabExport* Owner() const { return FOwner; }

private:
    TTabExport* FOwner;
    cb::rtl::TStream* FStream;
};

class TTabExport {
public:
    TTabExport();
    virtual ~TTabExport();
    TTabExport(const TTabExport&) = delete;
    TTabExport& operator=(const TTabExport&) = delete;

    // --- settings ------------------------------------------------------------
    TTabExportSource ExportSource = esDataSet;
    cb::grid::TBaseGrid* StringGrid = nullptr;  // not owned
    TqeCustomSource* CustomSource = nullptr;    // not owned
    cb::rtl::TStringList ExportedFields;
    bool CurrentRecordOnly = false;
    bool GoToFirstRecord = true;
    int ExportRecCount = 0;
    int SkipRecCount = 0;
    bool OnlyVisibleFields = false;
    bool AutoCalcStrType = false;
    int CaptionRow = -1;
    bool ExportEmpty = true;
    bool AutoCalcColWidth = false;
    cb::rtl::TStringList Header, Footer, Captions, UserFormats, ColumnsWidth, ColumnsAlign, ColumnsLength;
    bool AllowCaptions = true;
    TTabExportFormats& Formats() { return FFormats; }
    void SetFormats(const TTabExportFormats& F) { FFormats = F; }

    // --- events --------------------------------------------------------------
    std::function<void(TTabExport&Sender)> OnBeginExport, OnEndExport;
    std::function<void(TTabExport&Sender, int RecNo)> OnSkippedRecord, OnExportedRecord;
    std::function<void(TTabExport& Sender, bool& CanContinue)> OnStopExport;
    std::function<void(TTabExport& Sender, TTabExportRow& Row, bool& Accept)> OnBeforeExportRow;

    // --- working state -------------------------------------------------------
    TTabExportColumns& Columns() { return FColumns; }
    TTabExportRow& Row() { return FRow; }
    int RecordCounter() const { return FRecordCounter; }
    bool Aborted() const { return FAborted; }
    TTabExportWriter* Writer() const { return FWriter.get(); }

    // Runs the export (the file exporters write their file).
    virtual void Execute() {}
    virtual void Abort() { FAborted = true; }
    // Writes the export to Stream.
    void ExportToStream(cb::rtl::TStream& Stream);
    // Asks OnStopExport whether an aborted export goes on.
    bool CanContinue();

    // Settings to and from an INI-style store; each class writes its
    // parent's keys first. A missing key keeps the current value.
    virtual void SaveOptions(cb::rtl::TCustomIniFile& Store);
    virtual void LoadOptions(const cb::rtl::TCustomIniFile& Store);

protected:
    virtual std::unique_ptr<TTabExportWriter> CreateWriter(cb::rtl::TStream& Stream);
    virtual void BeginExport();
    virtual void BeforeExport() {}
    virtual void AfterExport() {}
    virtual void EndExport();
    virtual bool EndOfSource();
    virtual std::string GetCaptionRow();
    virtual void WriteCaptionRow() {}
    virtual void FillExportRow();
    virtual std::string GetDataRow(bool ApplyFormat);
    virtual void WriteDataRow() {}
    virtual std::string GetColCaption(int Index);
    virtual void GetColData(TTabExportCol& Col, std::string& Text);
    virtual std::string EscapeText(const std::string& Text) { return Text; }
    // Which list settings this exporter offers to its column model.
    virtual TColumnSettings ColumnSettings();

    void DoExport();
    TExportSource& Source() { return FSource; }
    void BindSource();

    bool FAborted = false;
    int FRecordCounter = 0;

private:
    TTabExportFormats FFormats;
    TTabExportColumns FColumns;
    TTabExportRow FRow;
    TExportSource FSource;
    std::unique_ptr<TTabExportWriter> FWriter;
};

// An export into a file.
class TTabExportText : public TTabExport {
public:
    std::string FileName;
    bool ShowFile = false;
    bool PrintFile = false;
    // Opens (or prints) the result; empty means the desktop's shell.
    std::function<void(const std::string& FileName, bool Print)> OnShowResultFile;

    // Writes the file through a temporary file beside it, renamed into
    // place only when the export is complete.
    void Execute() override;

    void SaveOptions(cb::rtl::TCustomIniFile& Store) override;
    void LoadOptions(const cb::rtl::TCustomIniFile& Store) override;

protected:
    virtual void ShowResultFile();
    virtual std::string GetShowFileName() { return FileName; }
    virtual std::string GetPrintFileName() { return FileName; }
    // The folder of FileName (the program's own when it has none), made
    // when missing; throws when it cannot be made.
    void ForceResultDirectory();
};

class TTabExportAdvancedText : public TTabExportText {
public:
    void SaveOptions(cb::rtl::TCustomIniFile& Store) override;
    void LoadOptions(const cb::rtl::TCustomIniFile& Store) override;
};

class TTabExportFormatText : public TTabExportAdvancedText {
public:
    void SaveOptions(cb::rtl::TCustomIniFile& Store) override;
    void LoadOptions(const cb::rtl::TCustomIniFile& Store) override;
};

}  // namespace cb::tabexport
