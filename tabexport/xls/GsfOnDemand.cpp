// The libgsf functions the compound file writer calls, opening libgsf (and
// the GLib object and I/O libraries it brings) when a workbook is first
// written rather than at the program's start. Without libgsf the
// constructors give null, which the writer reports as a failure.
#include "platform/os/OnDemandLibrary.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

namespace {

template <class F>
F Gsf(const char* name) {
    // GLib's object functions come with libgsf, which needs them.
    return cb::os::OnDemandFunction<F>("libgsf-1.so.114", name);
}

}  // namespace

extern "C" {

void gsf_init(void) {
    static const auto fn = Gsf<void (*)()>("gsf_init");
    if (fn) fn();
}

GsfOutput* gsf_output_stdio_new_FILE(char const* filename, FILE* file, gboolean keepOpen) {
    static const auto fn = Gsf<GsfOutput* (*)(char const*, FILE*, gboolean)>("gsf_output_stdio_new_FILE");
    return fn ? fn(filename, file, keepOpen) : nullptr;
}

GsfOutfile* gsf_outfile_msole_new(GsfOutput* sink) {
    static const auto fn = Gsf<GsfOutfile* (*)(GsfOutput*)>("gsf_outfile_msole_new");
    return fn ? fn(sink) : nullptr;
}

GsfOutput* gsf_outfile_new_child(GsfOutfile* outfile, char const* name, gboolean isDir) {
    static const auto fn = Gsf<GsfOutput* (*)(GsfOutfile*, char const*, gboolean)>("gsf_outfile_new_child");
    return fn ? fn(outfile, name, isDir) : nullptr;
}

gboolean gsf_output_write(GsfOutput* output, size_t count, guint8 const* data) {
    static const auto fn = Gsf<gboolean (*)(GsfOutput*, size_t, guint8 const*)>("gsf_output_write");
    return fn ? fn(output, count, data) : FALSE;
}

gboolean gsf_output_close(GsfOutput* output) {
    static const auto fn = Gsf<gboolean (*)(GsfOutput*)>("gsf_output_close");
    return fn ? fn(output) : FALSE;
}

gboolean gsf_output_is_closed(GsfOutput const* output) {
    static const auto fn = Gsf<gboolean (*)(GsfOutput const*)>("gsf_output_is_closed");
    return fn ? fn(output) : TRUE;
}

GType gsf_output_get_type(void) {
    static const auto fn = Gsf<GType (*)()>("gsf_output_get_type");
    return fn ? fn() : 0;
}

void g_object_unref(gpointer object) {
    static const auto fn = Gsf<void (*)(gpointer)>("g_object_unref");
    if (fn) fn(object);
}

GTypeInstance* g_type_check_instance_cast(GTypeInstance* instance, GType type) {
    static const auto fn = Gsf<GTypeInstance* (*)(GTypeInstance*, GType)>("g_type_check_instance_cast");
    return fn ? fn(instance, type) : instance;
}

}  // extern "C"
