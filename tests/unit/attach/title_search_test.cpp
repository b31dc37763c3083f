#include "attach/title_search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "attach/fake_desktop.h"

namespace vn {
namespace {

// The desktop's windows as a list, and a clock the test moves.
struct Desk {
    std::vector<TopLevelWindow> windows;
    std::uint64_t now = 1000;
    int listings = 0;

    TitleSearch Search(std::uint64_t maxAgeMs) {
        return TitleSearch([this] { ++listings; return windows; },
                           [](std::u16string_view a, std::u16string_view b) { return a == b; },
                           [this] { return now; }, maxAgeMs);
    }
};

TEST(TitleSearch, AnswersLikeTheSystemsSearchOnTheListItTook) {
    Desk desk;
    desk.windows = {{0x10, u"Untitled - Notepad"}, {0x20, u"Mail"}, {0x30, u"Mail"}, {0x40, u""}};
    TitleSearch search = desk.Search(100);
    struct Case {
        std::u16string title;
        WindowId found;
    } cases[] = {
        {u"Mail", 0x20},  // the first in z-order
        {u"Untitled - Notepad", 0x10},
        {u"", 0x40},
        {u"Calculator", kNoWindow},
        {u"Mail ", kNoWindow},  // no trimming
    };
    for (const Case& c : cases) EXPECT_EQ(search.Find(c.title), c.found) << std::string(c.title.begin(), c.title.end());
    EXPECT_EQ(desk.listings, 1) << "every answer within the age came from one list";
}

TEST(TitleSearch, ANewWindowIsSeenOnceTheListIsOlderThanItsAge) {
    Desk desk;
    TitleSearch search = desk.Search(100);
    EXPECT_EQ(search.Find(u"Report"), kNoWindow);
    desk.windows.push_back({0x50, u"Report"});
    desk.now += 100;
    EXPECT_EQ(search.Find(u"Report"), kNoWindow) << "the list is still young enough";
    desk.now += 1;
    EXPECT_EQ(search.Find(u"Report"), WindowId{0x50});
    desk.windows.clear();  // the window goes; a clock that went back renews the list at once
    desk.now -= 50;
    EXPECT_EQ(search.Find(u"Report"), kNoWindow);
    EXPECT_EQ(desk.listings, 3);
}

TEST(TitleSearch, TheWindowSystemAnswersEverythingElseFromTheDesktop) {
    test::FakeDesktop desktop;
    WindowId pad = desktop.Open(u"  Untitled - Notepad ", u"notepad.exe");
    Desk desk;
    desk.windows = {{0x77, u"Elsewhere"}};
    WindowSystemWithTitleSearch windows(desktop, desk.Search(100));
    EXPECT_EQ(windows.FindWindowByTitle(u"Elsewhere"), WindowId{0x77});
    EXPECT_EQ(desktop.titleSearches, 0);
    EXPECT_EQ(windows.GetWindowCaption(pad), u"Untitled - Notepad");
    EXPECT_EQ(windows.GetWindowExeName(pad), u"notepad.exe");
    EXPECT_TRUE(windows.IsWindowVisible(pad));
}

} // namespace
} // namespace vn
