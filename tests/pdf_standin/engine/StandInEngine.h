#pragma once

#include <string>
#include <utility>
#include <vector>

// A stand-in for the PDF engine's C interface, linked instead of the real engine so that tests
// can make it report any error from any call. It writes nothing; it logs every call, in order,
// as one line of text ("begin_page 595 842"), and keeps its contexts in a static pool.
namespace standin {

// Forgets the log and every scripted behaviour.
void Reset();

// The next call named `call` ("new", "set_parameter", "open_file", "delete", ...), after `skip`
// such calls that succeed, reports an error of `type` with `message` through the registered
// handler instead of finishing.
void FailNext(const std::string &call, int type, const std::string &message, int skip = 0);

// Result of pdfw_open_file (default 1).
void SetOpenResult(int result);
// Image handle returned by pdfw_load_image (default 7).
void SetImageHandle(int handle);
// pdfw_new returns null without creating a context.
void SetNewFails(bool fails);

// Upright size pdfw_get_image_size reports for every image (default 1000 x 500).
void SetImageSize(float width, float height);
// Sheet pdfw_get_image_sheet reports for every image (default 0 x 0: not corrected).
void SetImageSheet(float width, float height);
// Notes pdfw_get_image_note reports for every image (default none): PDFW_NOTE_* kinds with
// their details.
void SetImageNotes(const std::vector<std::pair<int, std::string>> &notes);
// Pages pdfw_count_pages reports for `path` (default 1).
void SetPages(const std::string &path, int pages);
// Text of pdfw_get_last_error (default "").
void SetLastError(const std::string &message);
// What pdfw_get_last_problem reports (default kind PDFW_PROBLEM_NONE): a kind, its file and
// its detail.
void SetLastProblem(int kind, const std::string &file, const std::string &detail);

// Appends a line of the caller's to the log, to show where its own steps fall among the calls.
void Note(const std::string &line);
const std::vector<std::string> &Log();

// Calls whose handler returned instead of jumping away (must stay 0: the handler never returns).
int HandlerReturns();
// Contexts created and not deleted.
int LiveContexts();

// Formats a float the way the log does.
std::string Number(float value);

} // namespace standin
