#include "tests/support/Process.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace support {

namespace {

// What a program wrote to a temporary file, from its start.
std::string Drain(FILE *file) {
    std::string text;
    std::rewind(file);
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, n);
    }
    std::fclose(file);
    return text;
}

int Spawn(const std::vector<std::string> &argv, FILE *out, FILE *err, long &peakKb) {
    std::vector<char *> args;
    for (const std::string &arg : argv) {
        args.push_back(const_cast<char *>(arg.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fileno(out), 1);
    posix_spawn_file_actions_adddup2(&actions, fileno(err), 2);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        std::fprintf(err, "cannot run %s: %s\n", args[0], std::strerror(failed));
        return 127;
    }
    int status = 0;
    struct rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    peakKb = usage.ru_maxrss;
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

RunResult RunProgram(const std::vector<std::string> &argv) {
    if (argv.empty()) {
        throw std::invalid_argument("Run: no program named");
    }
    FILE *out = std::tmpfile();
    FILE *err = std::tmpfile();
    if (out == nullptr || err == nullptr) {
        if (out != nullptr) {
            std::fclose(out);
        }
        if (err != nullptr) {
            std::fclose(err);
        }
        throw std::runtime_error("Run: no temporary file for the output of " + argv[0]);
    }
    RunResult result;
    result.exitCode = Spawn(argv, out, err, result.peakKb);
    result.out = Drain(out);
    result.err = Drain(err);
    return result;
}

RunResult RunShell(const std::string &script) {
    return RunProgram({"sh", "-c", script});
}

std::string Quote(const std::string &text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace support
