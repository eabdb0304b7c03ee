#include "cli/DocumentSet.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/Interrupts.h"
#include "cli/OwnFolder.h"
#include "cli/Texts.h"
#include "pdf/PageGeneration.h"
#include "pdf/QuotedName.h"

namespace folvane::cli {

namespace {

bool endsWithPdf(const std::string &name) {
    if (name.size() < 4) {
        return false;
    }
    std::string end = name.substr(name.size() - 4);
    for (char &c : end) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return end == ".pdf";
}

// Why `target` cannot be replaced, or "".
std::string targetProblem(const std::string &target, bool force) {
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) != 0) {
        return "";
    }
    if (S_ISDIR(existing.st_mode)) {
        return Fill(_("%1 is a folder"), {folvane::QuotedName(target)});
    }
    if (!force && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES) {
        return Fill(_("%1: not replacing a file you cannot write (--force replaces it)"),
                    {folvane::QuotedName(target)});
    }
    return "";
}

} // namespace

std::string memberName(const std::string &output, std::size_t number) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "-%03zu", number);
    if (endsWithPdf(output)) {
        const std::size_t stem = output.size() - 4;
        return output.substr(0, stem) + digits + output.substr(stem);
    }
    return output + digits;
}

DocumentSet::~DocumentSet() {
    if (folder_.empty()) {
        return;
    }
    forgetOwnFolder();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool DocumentSet::prepare(const std::string &output, std::size_t count, bool force,
                          std::string &error) {
    for (std::size_t i = 1; i <= count; ++i) {
        targets_.push_back(memberName(output, i));
        if (std::string problem = targetProblem(targets_.back(), force); !problem.empty()) {
            error = problem;
            return false;
        }
    }
    const std::filesystem::path path(output);
    std::string place = path.parent_path().string();
    if (place.empty()) {
        place = ".";
    }
    // Named and locked as the engine's temporary documents are: a folder a killed run left is
    // removed by the next run that writes here.
    folvane::RemoveDeadTemporaries(place);
    std::string folder =
        place + "/." + path.filename().string() + ".pdfw-" + std::to_string(::getpid()) + "-XXXXXX";
    if (!createOwnFolder(folder)) {
        error = Fill(_("cannot create a folder for the documents in %1: %2"),
                     {folvane::QuotedName(place), std::strerror(errno)});
        return false;
    }
    folder_ = folder;
    return true;
}

std::string DocumentSet::draft(std::size_t index) const {
    return folder_ + "/" + std::filesystem::path(targets_[index]).filename().string();
}

std::string DocumentSet::backup(std::size_t index) const {
    return folder_ + "/old-" + std::to_string(index);
}

void DocumentSet::undo(std::size_t renamed) {
    for (std::size_t i = 0; i < renamed; ++i) {
        if (old_[i] == Old::Kept) {
            ::rename(backup(i).c_str(), targets_[i].c_str());
        } else if (old_[i] == Old::None) {
            ::unlink(targets_[i].c_str());
        }
    }
}

bool DocumentSet::commit(std::string &error) {
    // An interruption now waits for the renames, so that it finds the set whole or untouched.
    InterruptsHeld held;
    old_.assign(targets_.size(), Old::None);
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (::link(targets_[i].c_str(), backup(i).c_str()) == 0) {
            old_[i] = Old::Kept;
        } else if (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK) {
            old_[i] = Old::Unkept; // a file system without hard links: replaced for good
        } else if (errno != ENOENT) {
            error = Fill(_("cannot keep %1 while the documents are put in place: %2"),
                         {folvane::QuotedName(targets_[i]), std::strerror(errno)});
            return false;
        }
    }
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (::rename(draft(i).c_str(), targets_[i].c_str()) != 0) {
            error = Fill(_("cannot put %1 in place: %2"),
                         {folvane::QuotedName(targets_[i]), std::strerror(errno)});
            undo(i);
            return false;
        }
    }
    return true;
}

} // namespace folvane::cli
