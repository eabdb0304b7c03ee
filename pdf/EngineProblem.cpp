#include "pdf/EngineProblem.h"

#include <utility>

namespace folvane {

static_assert(kMaxPictureSide == PDFW_MAX_PICTURE_SIDE,
              "the engine's limit, as the front ends say it");
static_assert(kMaxJpegSide == PDFW_MAX_JPEG_SIDE,
              "the engine's JPEG limit, as the front ends say it");

namespace {

Problem::Kind kindOf(int kind) {
    switch (kind) {
    case PDFW_PROBLEM_NONE:
        return Problem::Kind::None;
    case PDFW_PROBLEM_CALL:
        return Problem::Kind::Call;
    case PDFW_PROBLEM_MEMORY:
        return Problem::Kind::Memory;
    case PDFW_PROBLEM_CANNOT_OPEN:
        return Problem::Kind::CannotOpen;
    case PDFW_PROBLEM_CANNOT_READ:
        return Problem::Kind::CannotRead;
    case PDFW_PROBLEM_NOT_AN_IMAGE:
        return Problem::Kind::NotAnImage;
    case PDFW_PROBLEM_DAMAGED:
        return Problem::Kind::Damaged;
    case PDFW_PROBLEM_TRUNCATED:
        return Problem::Kind::Truncated;
    case PDFW_PROBLEM_UNSUPPORTED:
        return Problem::Kind::Unsupported;
    case PDFW_PROBLEM_NO_SUCH_PAGE:
        return Problem::Kind::NoSuchPage;
    case PDFW_PROBLEM_TOO_LARGE:
        return Problem::Kind::TooLarge;
    case PDFW_PROBLEM_OUTPUT:
        return Problem::Kind::Output;
    case PDFW_PROBLEM_DOCUMENT_TOO_LARGE:
        return Problem::Kind::DocumentTooLarge;
    case PDFW_PROBLEM_LANGUAGE_NAMES:
        return Problem::Kind::LanguageNames;
    case PDFW_PROBLEM_LANGUAGE_MISSING:
        return Problem::Kind::LanguageMissing;
    case PDFW_PROBLEM_RECOGNITION:
        return Problem::Kind::Recognition;
    case PDFW_PROBLEM_STOPPED:
        return Problem::Kind::Stopped;
    case PDFW_PROBLEM_TOO_MANY_PIXELS:
        return Problem::Kind::TooManyPixels;
    case PDFW_PROBLEM_DATA_TOO_SHORT:
        return Problem::Kind::DataTooShort;
    case PDFW_PROBLEM_NOT_A_FILE:
        return Problem::Kind::NotAFile;
    case PDFW_PROBLEM_JPEG_TOO_LARGE:
        return Problem::Kind::JpegTooLarge;
    case PDFW_PROBLEM_RECOGNITION_MODULE:
        return Problem::Kind::RecognitionModule;
    case PDFW_PROBLEM_LANGUAGE_DATA:
        return Problem::Kind::LanguageData;
    default:
        return Problem::Kind::Internal;
    }
}

std::vector<std::string> formatsOf(long long set) {
    std::vector<std::string> formats;
    for (auto [bit, name] :
         {std::pair{PDFW_FORMAT_JPEG, "JPEG"}, std::pair{PDFW_FORMAT_TIFF, "TIFF"},
          std::pair{PDFW_FORMAT_PNG, "PNG"}}) {
        if (set & bit) {
            formats.push_back(name);
        }
    }
    return formats;
}

Problem::ModuleFailure moduleFailureOf(long long failure) {
    switch (failure) {
    case PDFW_MODULE_CANNOT_LOAD:
        return Problem::ModuleFailure::CannotLoad;
    case PDFW_MODULE_WRONG_VERSION:
        return Problem::ModuleFailure::WrongVersion;
    default:
        return Problem::ModuleFailure::FailedToStart;
    }
}

} // namespace

Problem problemFromEngine(const pdfw_problem &problem) {
    Problem out;
    out.kind = kindOf(problem.kind);
    out.file = problem.file ? problem.file : "";
    out.page = problem.page;
    out.format = problem.format ? problem.format : "";
    out.numbers[0] = problem.numbers[0];
    out.numbers[1] = problem.numbers[1];
    out.item = problem.item ? problem.item : "";
    out.detail = problem.detail ? problem.detail : "";
    if (out.kind == Problem::Kind::NotAnImage) {
        out.formats = formatsOf(problem.numbers[1]);
        out.numbers[1] = 0;
    }
    if (out.kind == Problem::Kind::RecognitionModule) {
        out.module = moduleFailureOf(problem.numbers[0]);
        out.numbers[0] = 0;
    }
    return out;
}

Problem problemFromFacts(const pdfw_image_facts &facts, const std::string &path, int page) {
    pdfw_problem raw{
        facts.problem, path.c_str(), page, facts.kind, {facts.numbers[0], facts.numbers[1]},
        facts.item,    facts.detail};
    return problemFromEngine(raw);
}

} // namespace folvane
