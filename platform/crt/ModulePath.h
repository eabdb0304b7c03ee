#pragma once

#include <string>

// Full path of the running executable (GetModuleFileNameA with no module handle); empty when
// the system cannot tell.
std::string GetModuleFileNameA();
