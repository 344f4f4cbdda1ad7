// The filter text of the common file dialogs, as GetOpenFileNameW reads it.
#include "platform/win32/win32dialogs.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::string_literals;

struct FilterCase {
    const char *name;
    std::u16string description;
    std::u16string expected;
};
void PrintTo(const FilterCase &c, std::ostream *os) { *os << c.name; }

class FileDialogFilterTest : public testing::TestWithParam<FilterCase> {};

TEST_P(FileDialogFilterTest, PairsEndInNullsAndEveryFileComesLast) {
    EXPECT_EQ(fileDialogFilter(GetParam().description), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, FileDialogFilterTest,
    testing::Values(FilterCase{"OnePattern", u"Velmora 方案 (*.txt)",
                               u"Velmora 方案 (*.txt)\0*.txt\0所有文件 (*.*)\0*.*\0\0"s},
                    FilterCase{"SeveralPatterns", u"方案 (*.txt;*.ini)",
                               u"方案 (*.txt;*.ini)\0*.txt;*.ini\0所有文件 (*.*)\0*.*\0\0"s},
                    FilterCase{"LastParenthesesCount", u"方案 (旧) (*.cfg)",
                               u"方案 (旧) (*.cfg)\0*.cfg\0所有文件 (*.*)\0*.*\0\0"s},
                    FilterCase{"NoPatterns", u"方案", u"所有文件 (*.*)\0*.*\0\0"s},
                    FilterCase{"EmptyParentheses", u"方案 ()", u"所有文件 (*.*)\0*.*\0\0"s}),
    [](const testing::TestParamInfo<FilterCase> &info) { return info.param.name; });

}  // namespace
}  // namespace velmora
