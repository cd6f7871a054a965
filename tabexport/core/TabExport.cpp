#include "tabexport/core/TabExport.h"

#include "platform/desktop/Shell.h"
#include "platform/os/Files.h"
#include "platform/rtl/ScopeGuard.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"

namespace cb::tabexport {

std::string TTabExportWriter::AlignToStr(TTabExportColAlign Align) {
    switch (Align) {
    case ecaLeft:
        return "Left alignment";
    case ecaCenter:
        return "Center alignment";
    case ecaRight:
        return "Right alignment";
    }
    return "Unknown alignment";
}

void TTabExportWriter::Write(const std::string& S) {
    FStream->WriteBuffer(S);
}

void TTabExportWriter::WriteLine(const std::string& S) {
    FStream->WriteBuffer(S);
    FStream->WriteBuffer("\r\n", 2);
}

TTabExport::TTabExport() : FRow(&FColumns, &FFormats) {
    FColumns.ValueTransform = [this](const std::string& s) { return EscapeText(s); };
    FRow.CellHook = [this](TTabExportCol& col, std::string& text) { GetColData(col, text); };
}

TTabExport::~TTabExport() = default;

std::unique_ptr<TTabExportWriter> TTabExport::CreateWriter(cb::rtl::TStream& Stream) {
    return std::make_unique<TTabExportWriter>(this, &Stream);
}

void TTabExport::BindSource() {
    FSource.Kind = ExportSource;
    FSource.StringGrid = StringGrid;
    FSource.CustomSource = CustomSource;
    FSource.OnSkippedRecord = [this](int recNo) {
        if (OnSkippedRecord) OnSkippedRecord(*this, recNo);
    };
}

TColumnSettings TTabExport::ColumnSettings() {
    TColumnSettings s;
    s.ExportedFields = &ExportedFields;
    s.Source = &FSource;
    s.AutoCalcStrType = AutoCalcStrType;
    s.CaptionRow = CaptionRow;
    s.Formats = &FFormats;
    s.UserFormats = &UserFormats;
    s.ColumnsWidth = &ColumnsWidth;
    s.Captions = &Captions;
    s.ColumnsAlign = &ColumnsAlign;
    s.SkipRecCount = SkipRecCount;
    s.ExportRecCount = ExportRecCount;
    return s;
}

void TTabExport::BeginExport() {
    FColumns.Fill(ColumnSettings());
    FRow.Clear();
    for (int i = 0; i < FColumns.Count(); ++i) FRow.AddCol(FColumns.GetColumn(i).Name, i);
    FRow.SortIndex();
    FAborted = false;
    if (OnBeginExport) OnBeginExport(*this);
}

void TTabExport::EndExport() {
    if (OnEndExport) OnEndExport(*this);
}

bool TTabExport::EndOfSource() {
    return FSource.Eof(SkipRecCount, ExportRecCount, FRecordCounter);
}

std::string TTabExport::GetCaptionRow() {
    std::string s;
    for (int i = 0; i < FColumns.Count(); ++i) s += GetColCaption(i);
    return s;
}

void TTabExport::FillExportRow() {
    for (int i = 0; i < FColumns.Count(); ++i) {
        const auto& c = FColumns.GetColumn(i);
        FRow.SetValueAt(i, FSource.Value(c.Number, SkipRecCount, FRecordCounter));
    }
}

std::string TTabExport::GetDataRow(bool ApplyFormat) {
    std::string s;
    for (int i = 0; i < FRow.Count(); ++i) s += FRow.GetCol(i).GetExportedValue(ApplyFormat);
    return s;
}

std::string TTabExport::GetColCaption(int Index) {
    return EscapeText(FColumns.GetColumn(Index).Caption);
}

void TTabExport::GetColData(TTabExportCol&, std::string&) {}

bool TTabExport::CanContinue() {
    bool canContinue = !FAborted;
    if (OnStopExport) OnStopExport(*this, canContinue);
    FAborted = !canContinue;
    return canContinue;
}

void TTabExport::ExportToStream(cb::rtl::TStream& Stream) {
    FWriter = CreateWriter(Stream);
    auto release = cb::rtl::OnScopeExit([&] { FWriter.reset(); });
    DoExport();
}

void TTabExport::DoExport() {
    FRecordCounter = 0;
    BindSource();
    FSource.Check();
    if (!FSource.IsActive()) throw ETabExportError("Export source (" + FSource.Name() + ") is closed");
    if (!ExportEmpty && FSource.IsEmpty()) throw ETabExportError("Export source (" + FSource.Name() + ") is empty");

    BeginExport();
    if (FAborted) return;
    if (AutoCalcColWidth) FColumns.AutoCalcColWidth();
    if (FAborted) return;

    auto end = cb::rtl::OnScopeExit([&] { EndExport(); });
    if (AllowCaptions) WriteCaptionRow();
    if (FAborted) return;
    if (GoToFirstRecord) FSource.First();
    BeforeExport();
    if (FAborted) return;
    FSource.Skip(FRecordCounter, SkipRecCount);
    if (FAborted) return;
    FRecordCounter = 0;
    while (!EndOfSource() && (ExportRecCount == 0 || FRecordCounter < ExportRecCount)) {
        if (FAborted && !CanContinue()) break;
        bool accept = true;
        FillExportRow();
        if (OnBeforeExportRow) OnBeforeExportRow(*this, FRow, accept);
        if (accept) {
            WriteDataRow();
            if (OnExportedRecord) OnExportedRecord(*this, FRecordCounter);
        }
        if (CurrentRecordOnly) break;
        FSource.Next(FRecordCounter);
    }
    AfterExport();
}

void TTabExportText::ForceResultDirectory() {
    std::string dir = cb::rtl::ExtractFilePath(FileName);
    if (dir.empty()) dir = cb::os::GetApplicationPath();
    dir = cb::rtl::ExcludeTrailingPathDelimiter(dir);
    if (dir.empty()) return;  // the root folder
    if (!cb::os::DirectoryExists(dir)) cb::os::ForceDirectories(dir);
    if (!cb::os::DirectoryExists(dir)) throw ETabExportError("Directory '" + dir + "' not found and cannot be created");
}

void TTabExportText::Execute() {
    if (FileName.empty()) throw ETabExportError("Result file name not present");
    ForceResultDirectory();
    {
        cb::rtl::TAtomicFileStream file(FileName);
        ExportToStream(file);
        if (FAborted) return;  // an aborted export leaves the old file
        file.Commit();
    }
    ShowResultFile();
}

void TTabExportText::ShowResultFile() {
    if (FAborted) return;
    if (ShowFile) {
        if (OnShowResultFile)
            OnShowResultFile(GetShowFileName(), false);
        else
            cb::os::ShellOpen(GetShowFileName());
    }
    if (PrintFile) {
        if (OnShowResultFile)
            OnShowResultFile(GetPrintFileName(), true);
        else
            cb::os::StartProcess("lp", {GetPrintFileName()});
    }
}

}  // namespace cb::tabexport
