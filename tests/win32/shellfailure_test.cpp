#include "platform/win32/shellfailure.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// The codes are written as numbers, as winerror.h and shellapi.h define them.
struct KindCase {
    const char *name;
    unsigned long lastError, shellError;
    bool fileThere;
    OpenFailure::Cause expected;
};

void PrintTo(const KindCase &c, std::ostream *os) { *os << c.name; }

class ShellFailureKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(ShellFailureKindTest, NamesTheCause) {
    const KindCase &c = GetParam();
    EXPECT_EQ(shellFailureOf(c.lastError, c.shellError, c.fileThere), c.expected);
}

using enum OpenFailure::Cause;
INSTANTIATE_TEST_SUITE_P(
    Codes, ShellFailureKindTest,
    testing::Values(KindCase{"NoAssociation", 1155, 31, true, NoProgram},
                    KindCase{"WineBadExeFormat", 193, 0, true, NoProgram},
                    KindCase{"BadFormat", 11, 0, true, NoProgram},
                    KindCase{"MachineTypeMismatch", 216, 0, true, NoProgram},
                    KindCase{"HandlerMissesADll", 1157, 0, true, NoProgram},
                    KindCase{"HandlerNotFound", 2, 2, true, NoProgram},
                    KindCase{"PageNotFound", 2, 2, false, FileMissing},
                    KindCase{"HandlerPathNotFound", 3, 0, true, NoProgram},
                    KindCase{"PagePathNotFound", 3, 0, false, FileMissing},
                    KindCase{"AccessDenied", 5, 0, true, NoPermission},
                    KindCase{"NotEnoughMemory", 8, 0, true, NoMemory},
                    KindCase{"OutOfMemory", 14, 0, true, NoMemory},
                    KindCase{"DdeFailed", 1156, 0, true, NoAnswer},
                    KindCase{"SharingViolationNotADll", 32, 32, true, InUse},
                    KindCase{"Cancelled", 1223, 0, true, Cancelled},
                    KindCase{"SeNoAssoc", 0, 31, true, NoProgram},
                    KindCase{"SeAssocIncomplete", 0, 27, true, NoProgram},
                    KindCase{"SeDllNotFound", 0, 32, true, NoProgram},
                    KindCase{"SeBadFormat", 0, 11, true, NoProgram},
                    KindCase{"SeHandlerNotFound", 0, 2, true, NoProgram},
                    KindCase{"SePageNotFound", 0, 3, false, FileMissing},
                    KindCase{"SeAccessDenied", 0, 5, true, NoPermission},
                    KindCase{"SeOutOfMemory", 0, 8, true, NoMemory},
                    KindCase{"SeDdeTimeout", 0, 28, true, NoAnswer},
                    KindCase{"SeDdeFailed", 0, 29, true, NoAnswer},
                    KindCase{"SeDdeBusy", 0, 30, true, NoAnswer},
                    KindCase{"SeShare", 0, 26, true, InUse},
                    KindCase{"UnknownCodeDefersToShell", 87, 31, true, NoProgram},
                    KindCase{"UnknownCode", 87, 0, true, Other},
                    KindCase{"NoCodeAtAll", 0, 0, true, Other}),
    [](const testing::TestParamInfo<KindCase> &info) { return info.param.name; });

TEST(ShellFailureText, IsTheSystemsUnlessAnInsertIsLeftUnfilled) {
    for (const auto &[systemText, expected] : {
             std::pair{"参数错误", "参数错误"},
             std::pair{"Bad EXE format for %1", ""},
             std::pair{"%2!s! failed", ""},
             std::pair{"100% full", "100% full"},
             std::pair{"ends in %", "ends in %"},
         }) {
        EXPECT_EQ(readableSystemText(systemText), expected) << systemText;
    }
}

}  // namespace
}  // namespace velmora
