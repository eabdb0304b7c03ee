#include "platform/crt/ModulePath.h"

#include <filesystem>
#include <system_error>

std::string GetModuleFileNameA() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return self.string();
}
