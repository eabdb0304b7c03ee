#include "cli/ScanOptions.h"

#include <cstdlib>

#include "cli/Texts.h"

namespace folvane::cli {

namespace {

using folvane::scan::PageSize;
using folvane::scan::ScanMode;
using folvane::scan::ScanSource;

constexpr long kMaxResolution = 100000;

std::string setSource(ScanRequest &request, const std::string &value) {
    if (value == "flatbed") {
        request.settings.source = ScanSource::Flatbed;
    } else if (value == "adf" || value == "feeder") {
        request.settings.source = ScanSource::Feeder;
    } else if (value == "duplex") {
        request.settings.source = ScanSource::Duplex;
    } else {
        return fill(_("--source takes flatbed, adf or duplex, not \"%1\""), {value});
    }
    return "";
}

std::string setMode(ScanRequest &request, const std::string &value) {
    if (value == "color" || value == "colour") {
        request.settings.mode = ScanMode::Color;
    } else if (value == "gray" || value == "grey") {
        request.settings.mode = ScanMode::Gray;
    } else if (value == "lineart") {
        request.settings.mode = ScanMode::Lineart;
    } else {
        return fill(_("--mode takes color, gray or lineart, not \"%1\""), {value});
    }
    return "";
}

std::string setResolution(ScanRequest &request, const std::string &value) {
    char *end = nullptr;
    const long dpi = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || dpi < 1 || dpi > kMaxResolution) {
        return fill(_("--resolution takes dots per inch, like 300, not \"%1\""), {value});
    }
    request.settings.resolution = static_cast<int>(dpi);
    return "";
}

std::string setPageSize(ScanRequest &request, const std::string &value) {
    if (value == "a4") {
        request.settings.pageSize = PageSize::A4;
    } else if (value == "letter") {
        request.settings.pageSize = PageSize::Letter;
    } else if (value == "max") {
        request.settings.pageSize = PageSize::Maximum;
    } else {
        return fill(_("--page-size takes a4, letter or max, not \"%1\""), {value});
    }
    return "";
}

} // namespace

const std::vector<ScanOptionName> &scanOptionNames() {
    static const std::vector<ScanOptionName> names = {
        {"scan", false}, {"list-devices", false}, {"device", true},    {"source", true},
        {"mode", true},  {"resolution", true},    {"page-size", true}, {"keep-pages", true},
    };
    return names;
}

std::string setScanOption(ScanRequest &request, const std::string &name, const std::string &value) {
    if (name == "scan") {
        request.scan = true;
        return "";
    }
    if (name == "list-devices") {
        request.listDevices = true;
        return "";
    }
    request.given.push_back("--" + name);
    if (name == "device") {
        request.device = value;
        return value.empty() ? _("--device needs a scanner's name (see --list-devices)") : "";
    }
    if (name == "keep-pages") {
        request.keepPages = value;
        return value.empty() ? _("--keep-pages needs a folder") : "";
    }
    if (name == "source") {
        return setSource(request, value);
    }
    if (name == "mode") {
        return setMode(request, value);
    }
    if (name == "resolution") {
        return setResolution(request, value);
    }
    return setPageSize(request, value);
}

std::string checkScanRequest(const ScanRequest &request, bool haveImages) {
    if (request.listDevices && (request.scan || haveImages || !request.given.empty())) {
        return _("--list-devices takes no other options or images");
    }
    if (request.scan && haveImages) {
        return _("--scan takes no images: the pages come from the scanner");
    }
    if (!request.scan && !request.given.empty()) {
        return fill(_("%1 needs --scan"), {request.given.front()});
    }
    return "";
}

} // namespace folvane::cli
