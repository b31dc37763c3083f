#include "platform/errors.h"
#include "platform/guarded.h"

#include <gtest/gtest.h>

#include <string>

namespace vn {
namespace {

class GuardedTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetApplicationExceptionHandler([this](std::exception_ptr e) {
            try {
                std::rethrow_exception(e);
            } catch (const std::exception& ex) {
                seen.push_back(ex.what());
            } catch (...) {
                seen.push_back("<unknown>");
            }
        });
    }
    void TearDown() override { SetApplicationExceptionHandler({}); }
    std::vector<std::string> seen;
};

TEST_F(GuardedTest, ExceptionsReachTheHandlerAndTheFallbackIsReturned) {
    int r = Guarded(-1, []() -> int { throw TSNCreateWindowHandleAccessDeniedException(); });
    EXPECT_EQ(r, -1);
    Guarded([] { throw 42; });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "TSNCreateWindowHandleAccessDeniedException");
    EXPECT_EQ(seen[1], "<unknown>");
    EXPECT_EQ(Guarded(0, [] { return 7; }), 7);
}

TEST_F(GuardedTest, AThrowingHandlerIsContained) {
    SetApplicationExceptionHandler([](std::exception_ptr) { throw std::runtime_error("handler failed"); });
    EXPECT_NO_THROW(Guarded([] { throw std::runtime_error("x"); }));
}

} // namespace
} // namespace vn
