#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/BackgroundQueue.h"
#include "platform/ui/HeadlessToolkit.h"

namespace {

using namespace std::chrono_literals;

// Runs what the queue hands back until count results arrived (or a few seconds passed).
void RunUntil(HeadlessToolkit &ui, const std::vector<int> &results, std::size_t count) {
    for (int i = 0; i < 500 && results.size() < count; ++i) {
        ui.WaitForPosted(10ms);
        ui.RunPosted();
    }
}

TEST(BackgroundQueue, JobsRunAwayFromTheWindowAndHandBackInOrder) {
    HeadlessToolkit ui;
    const std::thread::id window = std::this_thread::get_id();
    std::vector<int> results;
    std::atomic<bool> ranElsewhere{true};
    {
        BackgroundQueue queue(ui);
        for (int i = 0; i < 5; ++i) {
            queue.run([&, i]() -> std::function<void()> {
                if (std::this_thread::get_id() == window) {
                    ranElsewhere = false;
                }
                return [&, i] {
                    EXPECT_EQ(std::this_thread::get_id(), window);
                    results.push_back(i);
                };
            });
        }
        queue.run([]() -> std::function<void()> { throw std::runtime_error("lost"); });
        RunUntil(ui, results, 5);
    }
    EXPECT_TRUE(ranElsewhere);
    EXPECT_EQ(results, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(BackgroundQueue, NothingHandedBackRunsOnceTheQueueIsGone) {
    HeadlessToolkit ui;
    bool ran = false;
    {
        BackgroundQueue queue(ui);
        queue.run([&ran]() -> std::function<void()> { return [&ran] { ran = true; }; });
        ASSERT_TRUE(ui.WaitForPosted(5s));
    }
    EXPECT_EQ(ui.RunPosted(), 1);
    EXPECT_FALSE(ran);
}

} // namespace
