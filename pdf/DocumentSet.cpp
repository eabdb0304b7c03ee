#include "pdf/DocumentSet.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "pdf/PageGeneration.h"

namespace folvane {

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

// Why `target` cannot be replaced, or nothing.
std::optional<SetProblem> targetProblem(const std::string &target, bool force) {
    struct stat existing {};
    if (::lstat(target.c_str(), &existing) != 0) {
        return std::nullopt;
    }
    if (S_ISDIR(existing.st_mode)) {
        return SetProblem{SetProblem::Kind::TargetIsFolder, target, 0};
    }
    if (!force && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES) {
        return SetProblem{SetProblem::Kind::TargetNotWritable, target, EACCES};
    }
    return std::nullopt;
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
    if (hooks_.forgetFolder) {
        hooks_.forgetFolder();
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
    if (folderLock_ >= 0) {
        ::close(folderLock_);
    }
}

std::optional<SetProblem> DocumentSet::prepare(const std::string &output, std::size_t count,
                                               bool force) {
    for (std::size_t i = 1; i <= count; ++i) {
        targets_.push_back(memberName(output, i));
        if (std::optional<SetProblem> problem = targetProblem(targets_.back(), force)) {
            return problem;
        }
    }
    const std::filesystem::path path(output);
    std::string place = path.parent_path().string();
    if (place.empty()) {
        place = ".";
    }
    // Named and locked as the engine's temporary documents are: a folder a killed run left is
    // removed by the next run that writes here.
    removeDeadTemporaries(place);
    std::string folder =
        place + "/." + path.filename().string() + ".pdfw-" + std::to_string(::getpid()) + "-XXXXXX";
    if (hooks_.createFolder) {
        if (!hooks_.createFolder(folder)) {
            return SetProblem{SetProblem::Kind::CannotCreateFolder, place, errno};
        }
    } else {
        if (::mkdtemp(folder.data()) == nullptr) {
            return SetProblem{SetProblem::Kind::CannotCreateFolder, place, errno};
        }
        folderLock_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderLock_ >= 0) {
            ::flock(folderLock_, LOCK_EX | LOCK_NB);
        }
    }
    folder_ = folder;
    return std::nullopt;
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

std::optional<SetProblem> DocumentSet::renameAll() {
    old_.assign(targets_.size(), Old::None);
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (::link(targets_[i].c_str(), backup(i).c_str()) == 0) {
            old_[i] = Old::Kept;
        } else if (errno == EPERM || errno == EOPNOTSUPP || errno == EMLINK) {
            old_[i] = Old::Unkept; // a file system without hard links: replaced for good
        } else if (errno != ENOENT) {
            return SetProblem{SetProblem::Kind::CannotKeepOld, targets_[i], errno};
        }
    }
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (::rename(draft(i).c_str(), targets_[i].c_str()) != 0) {
            const int error = errno;
            undo(i);
            return SetProblem{SetProblem::Kind::CannotPutInPlace, targets_[i], error};
        }
    }
    return std::nullopt;
}

std::optional<SetProblem> DocumentSet::commit() {
    std::optional<SetProblem> problem;
    if (hooks_.aroundCommit) {
        hooks_.aroundCommit([&] { problem = renameAll(); });
    } else {
        problem = renameAll();
    }
    return problem;
}

std::optional<std::pair<std::string, std::string>>
targetReplacingFile(const std::vector<std::string> &targets,
                    const std::vector<std::string> &files) {
    for (const std::string &target : targets) {
        struct stat output {};
        if (::stat(target.c_str(), &output) != 0) {
            continue;
        }
        for (const std::string &file : files) {
            struct stat input {};
            if (::stat(file.c_str(), &input) == 0 && input.st_dev == output.st_dev &&
                input.st_ino == output.st_ino) {
                return std::make_pair(target, file);
            }
        }
    }
    return std::nullopt;
}

} // namespace folvane
