// Prepares the images the caller has announced on a pool of worker threads, ahead of the
// calls that ask for them, and hands them out in the order asked.
//
// The caller (one thread: the document's writer) announces requests with announce() and later
// asks for each with take(). Workers prepare announced requests in announcement order. At most
// `workers` + 1 images are in flight at once (being prepared, prepared and waiting, or taken
// and not yet released with written()), so memory does not grow with the page count.
// Preparing depends on nothing but the request, so an image prepared ahead is the same as one
// prepared when asked for, and the document's bytes do not depend on the number of workers.
//
// Thread safety: stop() may be called from any thread; everything else from the writer's
// thread only. The destructor stops the workers and joins them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "pdfw/core/ImageRequest.h"
#include "pdfw/core/PreparedImage.h"

namespace folvane::pdfw {

class PagePipeline {
public:
    // Starts `workers` threads (at least one).
    explicit PagePipeline(int workers);
    ~PagePipeline();
    PagePipeline(const PagePipeline &) = delete;
    PagePipeline &operator=(const PagePipeline &) = delete;

    // `key` names the request (its file and page); take() matches on it.
    void announce(std::string key, ImageRequest request);

    // The image for `key`: when an announced request has this key, the announcements before
    // it are dropped and its result is returned once ready (a failure to prepare it is thrown
    // here, as preparing would have thrown it). Without such an announcement, nothing: the
    // caller prepares the image itself, and the announcements stay. Raises PDFW_RUNTIME_ERROR
    // after stop(). A taken image holds its place in flight until written().
    std::optional<PreparedImage> take(const std::string &key);
    void written();

    // Ends the work: announcements are dropped, workers finish the image at hand and leave,
    // and take() raises from now on. Callable from any thread.
    void stop();

private:
    struct Entry {
        std::string key;
        ImageRequest request;
        bool started = false;
        bool done = false;
        bool dropped = false;
        std::optional<PreparedImage> image;
        std::exception_ptr failure;
    };

    using Entries = std::vector<std::shared_ptr<Entry>>;

    void work();
    bool canStart() const;
    // Removes the first `count` announcements; returns them, to be freed outside the lock.
    Entries drop(std::size_t count);
    void releaseTaken();

    const std::size_t limit_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::shared_ptr<Entry>> queue_; // announced and not taken, in order
    std::size_t started_ = 0;                  // how many at the front of queue_ have started
    std::size_t inFlight_ = 0;                 // started and not given back, taken ones included
    std::size_t taken_ = 0;                    // handed out by take() and not yet written()
    bool stopped_ = false;
    std::vector<std::thread> workers_;
};

} // namespace folvane::pdfw
