// The engine's internal failure: an error type of pdfw.h and a message. Thrown inside the
// engine only; every C entry point catches it and reports it through the error handler once
// its own frames are gone.
#pragma once

#include <stdexcept>
#include <string>

#include "pdfw/pdfw.h"

namespace pdfw {

class PdfwError : public std::runtime_error {
public:
    PdfwError(int type, const std::string &message) : std::runtime_error(message), type_(type) {}
    int type() const { return type_; }

private:
    int type_;
};

[[noreturn]] inline void fail(int type, const std::string &message) {
    throw PdfwError(type, message);
}

} // namespace pdfw
