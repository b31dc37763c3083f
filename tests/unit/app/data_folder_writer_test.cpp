// The data folder's one writer: jobs in the order posted, on its own thread, and
// what follows each back on the caller's thread in the same order.
#include "app/data_folder_writer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace vn {
namespace {

TEST(DataFolderWriter, JobsRunInOrderOffTheCallersThreadAndTheirResultsComeBackInOrder) {
    std::atomic<int> wakes{0};
    std::vector<int> written;              // on the writer's thread
    std::vector<std::string> followed;     // on this thread
    const auto caller = std::this_thread::get_id();
    {
        DataFolderWriter writer([&] { ++wakes; });
        for (int i = 0; i < 50; ++i) {
            writer.Post([&, i]() -> DataFolderWriter::Then {
                EXPECT_NE(std::this_thread::get_id(), caller);
                written.push_back(i);
                return [&, i] {
                    EXPECT_EQ(std::this_thread::get_id(), caller);
                    followed.push_back(std::to_string(i));
                };
            });
        }
        writer.WaitIdle();
        EXPECT_FALSE(writer.Busy());
    }
    // A job's wake may follow the caller's WaitIdle by a moment (it only asks the
    // caller to look); once the writer is gone, every job has woken it once.
    EXPECT_EQ(wakes.load(), 50);
    ASSERT_EQ(written.size(), 50u);
    ASSERT_EQ(followed.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(written[i], i);
        EXPECT_EQ(followed[i], std::to_string(i));
    }
}

TEST(DataFolderWriter, TheCallerGoesOnWhileAJobRunsAndWaitIdleWaitsForIt) {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    bool followed = false;
    DataFolderWriter writer({});
    writer.Post([&]() -> DataFolderWriter::Then {
        released.wait();
        return [&] { followed = true; };
    });
    EXPECT_TRUE(writer.Busy()) << "the job holds the writer, not the caller";
    writer.RunFinished();
    EXPECT_FALSE(followed);
    std::thread later([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        release.set_value();
    });
    writer.WaitIdle();
    later.join();
    EXPECT_TRUE(followed);
}

TEST(DataFolderWriter, AFailedJobRaisesInItsPlaceAndTheOthersStillFollow) {
    std::vector<int> followed;
    DataFolderWriter writer({});
    writer.Post([&]() -> DataFolderWriter::Then { return [&] { followed.push_back(1); }; });
    writer.Post([]() -> DataFolderWriter::Then { throw std::runtime_error("disk gone"); });
    writer.Post([&]() -> DataFolderWriter::Then { return [&] { followed.push_back(3); }; });
    EXPECT_THROW(writer.WaitIdle(), std::runtime_error);
    EXPECT_EQ(followed, (std::vector<int>{1, 3}));
    EXPECT_NO_THROW(writer.WaitIdle()) << "a failure is raised once";
}

TEST(DataFolderWriter, EverythingPostedIsWrittenBeforeTheWriterGoes) {
    std::atomic<int> written{0};
    {
        DataFolderWriter writer({});
        for (int i = 0; i < 20; ++i)
            writer.Post([&]() -> DataFolderWriter::Then {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                ++written;
                return {};
            });
    }
    EXPECT_EQ(written.load(), 20);
}

} // namespace
} // namespace vn
