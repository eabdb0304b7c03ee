// The boundary between scan/ and SANE. libsane, with libusb and the drivers it loads, lives in a
// module of its own (lib/folvane/scan-sane.so, scan/module/), loaded the first time a scanner is
// looked for, so that the programs start without it and a conversion never touches it.
//
// Both sides are built together from this header: the module fills the table with SANE's own
// functions.
#pragma once

#include <sane/sane.h>

namespace folvane::scan {

struct SaneCalls {
    SANE_Status (*init)(SANE_Int *version, SANE_Auth_Callback authorize);
    SANE_Status (*getDevices)(const SANE_Device ***list, SANE_Bool localOnly);
    SANE_Status (*open)(SANE_String_Const name, SANE_Handle *handle);
    void (*close)(SANE_Handle handle);
    const SANE_Option_Descriptor *(*getOptionDescriptor)(SANE_Handle handle, SANE_Int option);
    SANE_Status (*controlOption)(SANE_Handle handle, SANE_Int option, SANE_Action action,
                                 void *value, SANE_Int *info);
    SANE_Status (*getParameters)(SANE_Handle handle, SANE_Parameters *parameters);
    SANE_Status (*start)(SANE_Handle handle);
    SANE_Status (*read)(SANE_Handle handle, SANE_Byte *data, SANE_Int maxLength, SANE_Int *length);
    void (*cancel)(SANE_Handle handle);
    SANE_String_Const (*strstatus)(SANE_Status status);
};

// The module's one exported function gives its table, which lives as long as the process. The
// name carries the version of the table and changes with it, so that a stale module is refused
// instead of called through the wrong layout.
inline constexpr const char *kSaneModuleEntry = "folvane_sane_calls_v1";

} // namespace folvane::scan
