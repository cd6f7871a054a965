#include "tabexport/xls/CompoundFile.h"

#include "platform/rtl/AtomicFile.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Strings.h"
#include "tabexport/core/TabExportTypes.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace cb::tabexport {

struct TCompoundFileWriter::TImpl {
    std::string Target;
    // The file is built in the target's own temporary file and renamed
    // into place.
    std::unique_ptr<cb::rtl::TAtomicReplace> Replace;
    FILE* File = nullptr;
    GsfOutput* Sink = nullptr;
    GsfOutfile* Storage = nullptr;
    GsfOutput* Stream = nullptr;
    bool Committed = false;

    [[noreturn]] void Fail(const std::string& What) {
        throw ETabExportError("Error writing output file '" + Target + "': " + What);
    }

    void Release() {
        if (Stream) g_object_unref(Stream);
        if (Storage) g_object_unref(Storage);
        if (Sink) g_object_unref(Sink);
        Stream = nullptr;
        Storage = nullptr;
        Sink = nullptr;
        if (File) std::fclose(File);
        File = nullptr;
    }
};

TCompoundFileWriter::TCompoundFileWriter(const std::string& FileName, const std::string& StreamName)
    : FImpl(std::make_unique<TImpl>()) {
    static std::once_flag init;
    std::call_once(init, [] { gsf_init(); });
    TImpl& d = *FImpl;
    d.Target = FileName;
    d.Replace = std::make_unique<cb::rtl::TAtomicReplace>(FileName);
    d.File = std::fopen(d.Replace->TempName().c_str(), "w+b");
    if (!d.File) {
        int err = errno;
        throw ETabExportError("Cannot create file '" + FileName + "': " + std::strerror(err));
    }
    d.Sink = gsf_output_stdio_new_FILE(d.Replace->TempName().c_str(), d.File, TRUE);
    if (d.Sink) d.Storage = gsf_outfile_msole_new(d.Sink);
    if (d.Storage) d.Stream = gsf_outfile_new_child(d.Storage, StreamName.c_str(), FALSE);
    if (!d.Stream) {
        d.Release();
        throw ETabExportError("Cannot create the compound file '" + FileName + "'");
    }
}

TCompoundFileWriter::~TCompoundFileWriter() {
    if (!FImpl->Committed) FImpl->Release();
}

void TCompoundFileWriter::Write(const void* Data, std::size_t Count) {
    if (Count && !gsf_output_write(FImpl->Stream, Count, static_cast<const guint8*>(Data)))
        FImpl->Fail("the stream could not be written");
}

void TCompoundFileWriter::Commit() {
    TImpl& d = *FImpl;
    bool ok = gsf_output_close(d.Stream);
    ok = gsf_output_close(GSF_OUTPUT(d.Storage)) && ok;
    if (!ok) d.Fail("the compound file could not be finished");
    // The storage closes its sink.
    if (!gsf_output_is_closed(d.Sink) && !gsf_output_close(d.Sink)) d.Fail("the compound file could not be finished");
    if (std::fflush(d.File) != 0) d.Fail(std::strerror(errno));
    d.Release();
    try {
        d.Replace->Commit();
    } catch (const std::exception& e) {
        d.Fail(e.what());
    }
    d.Committed = true;
}

}  // namespace cb::tabexport
