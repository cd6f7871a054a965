#pragma once
// An OLE compound file written through libgsf: one stream, built in a
// private temporary file and handed on Commit to the runtime's atomic
// writer, which renames it into place. Destroyed without Commit, the
// temporary file goes and the target stays as it was.
#include <cstddef>
#include <memory>
#include <string>

namespace cb::tabexport {

class TCompoundFileWriter {
public:
    TCompoundFileWriter(const std::string& FileName, const std::string& StreamName);
    ~TCompoundFileWriter();
    TCompoundFileWriter(const TCompoundFileWriter&) = delete;
    TCompoundFileWriter& operator=(const TCompoundFileWriter&) = delete;

    void Write(const void* Data, std::size_t Count);
    void Commit();

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
};

}  // namespace cb::tabexport
