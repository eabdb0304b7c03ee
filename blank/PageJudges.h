// The blank-page rule on the pages of a run, judged ahead of whoever reads the verdicts: one
// thread a core takes the pages in order, so that the first verdicts are ready first and a
// caller reading them in order waits as little as it can.
//
// Each page is judged once, as judgePageFile judges it. Memory: one reduced page a thread.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "blank/PageFile.h"

namespace folvane::blank {

class PageJudges {
public:
    // Starts judging `pages` on `threads` threads (0: one a core), never more than pages.
    explicit PageJudges(std::vector<PageToJudge> pages, unsigned threads = 0);
    // Stops and waits for the pages being judged.
    ~PageJudges();
    PageJudges(const PageJudges &) = delete;
    PageJudges &operator=(const PageJudges &) = delete;

    // Whether page `index` is blank, waiting for its verdict: false for a page the rule cannot
    // read, and for one not judged because judging stopped first.
    bool blank(std::size_t index);
    // Pages not yet started are not judged; those being judged finish.
    void stop();

private:
    enum Verdict : uint8_t { kPending, kBlank, kNotBlank, kNotJudged };
    void judgeInTurn();

    std::vector<PageToJudge> pages_;
    std::vector<Verdict> verdicts_;
    std::size_t next_ = 0; // the next page a thread takes
    bool stopped_ = false;
    std::mutex mutex_;
    std::condition_variable judged_;
    std::vector<std::thread> threads_;
};

} // namespace folvane::blank
