#include "blank/PageJudges.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <utility>

namespace folvane::blank {

PageJudges::PageJudges(std::vector<PageToJudge> pages, unsigned threads)
    : pages_(std::move(pages)), verdicts_(pages_.size(), kPending) {
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    const std::size_t count = std::min<std::size_t>(threads, pages_.size());
    for (std::size_t i = 0; i < count; ++i) {
        try {
            threads_.emplace_back([this] { judgeInTurn(); });
        } catch (const std::system_error &) {
            break; // fewer threads; with none, blank() judges on its caller's
        }
    }
}

PageJudges::~PageJudges() {
    stop();
    for (std::thread &thread : threads_) {
        thread.join();
    }
}

void PageJudges::judgeInTurn() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopped_ && next_ < pages_.size()) {
        const std::size_t index = next_++;
        lock.unlock();
        std::optional<BlankVerdict> verdict;
        try {
            verdict = judgePageFile(pages_[index]);
        } catch (const std::exception &) {
            // Out of memory on a page: like a page that cannot be read, it is not left out.
        }
        lock.lock();
        verdicts_[index] = verdict && verdict->blank ? kBlank : kNotBlank;
        judged_.notify_all();
    }
}

bool PageJudges::blank(std::size_t index) {
    if (index >= verdicts_.size()) {
        return false;
    }
    if (threads_.empty()) {
        judgeInTurn(); // every page, in order: none is left pending
    }
    std::unique_lock<std::mutex> lock(mutex_);
    judged_.wait(lock, [&] { return verdicts_[index] != kPending; });
    return verdicts_[index] == kBlank;
}

void PageJudges::stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = true;
    for (std::size_t index = next_; index < verdicts_.size(); ++index) {
        verdicts_[index] = kNotJudged;
    }
    next_ = verdicts_.size();
    judged_.notify_all();
}

} // namespace folvane::blank
