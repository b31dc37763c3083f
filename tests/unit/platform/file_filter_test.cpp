#include "platform/file_filter.h"

#include <gtest/gtest.h>

namespace vn {
namespace {

TEST(FileFilter, PairsBecomeTheDialogsDoubleNulList) {
    using namespace std::string_literals;
    struct Case {
        std::u16string filter;
        std::u16string list;
    } cases[] = {
        {u"Vantory Note Export File (*.vnx)|*.vnx", u"Vantory Note Export File (*.vnx)\0*.vnx\0\0"s},
        {u"A|*.a|B|*.b;*.c", u"A\0*.a\0B\0*.b;*.c\0\0"s},
        {u"A|*.a|Dangling", u"A\0*.a\0\0"s},
        {u"A||B|*.b", u"B\0*.b\0\0"s},
        {u"", u"\0\0"s},
    };
    for (const auto& c : cases) EXPECT_EQ(FileDialogFilterList(c.filter), c.list);
}

} // namespace
} // namespace vn
