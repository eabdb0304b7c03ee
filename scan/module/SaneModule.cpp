// The SANE module: SANE's functions, behind the table of scan/SaneCalls.h. Only this module
// links libsane.
#include "scan/SaneCalls.h"

// The one symbol the module exports (the rest is hidden by the build).
extern "C" __attribute__((visibility("default"))) const folvane::scan::SaneCalls *
folvane_sane_calls_v1() {
    static const folvane::scan::SaneCalls calls = {sane_init,
                                                   sane_get_devices,
                                                   sane_open,
                                                   sane_close,
                                                   sane_get_option_descriptor,
                                                   sane_control_option,
                                                   sane_get_parameters,
                                                   sane_start,
                                                   sane_read,
                                                   sane_cancel,
                                                   sane_strstatus};
    return &calls;
}
