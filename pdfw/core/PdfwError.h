// The engine's internal failure: an error type of pdfw.h and the problem behind it. Thrown
// inside the engine only; every C entry point catches it and reports it through the error
// handler once its own frames are gone.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include "pdfw/core/Problem.h"
#include "pdfw/pdfw.h"

namespace folvane::pdfw {

class PdfwError : public std::runtime_error {
public:
    PdfwError(int type, Problem problem)
        : std::runtime_error(describe(problem)), type_(type), problem_(std::move(problem)) {}
    int type() const { return type_; }
    const Problem &problem() const { return problem_; }

private:
    int type_;
    Problem problem_;
};

[[noreturn]] inline void fail(int type, Problem problem) {
    throw PdfwError(type, std::move(problem));
}

// A call out of order or with a bad argument (PDFW_PROBLEM_CALL).
[[noreturn]] inline void failCall(int type, std::string rule) {
    fail(type, callProblem(std::move(rule)));
}

// A failure the engine does not expect of itself (PDFW_PROBLEM_INTERNAL).
[[noreturn]] inline void failInternal(int type, std::string what) {
    fail(type, problemWith(PDFW_PROBLEM_INTERNAL, "", std::move(what)));
}

} // namespace folvane::pdfw
