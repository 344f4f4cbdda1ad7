#include "platform/win32/shellfailure.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// The codes are written as numbers, as winerror.h and shellapi.h define them.
struct KindCase {
    const char *name;
    unsigned long lastError, shellError;
    bool fileThere;
    ShellFailure expected;
};

void PrintTo(const KindCase &c, std::ostream *os) { *os << c.name; }

class ShellFailureKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(ShellFailureKindTest, NamesTheCause) {
    const KindCase &c = GetParam();
    EXPECT_EQ(shellFailureOf(c.lastError, c.shellError, c.fileThere), c.expected);
}

using enum ShellFailure;
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

TEST(ShellFailureReason, IsChineseAndNeverAnUnfilledInsert) {
    struct Row {
        ShellFailure failure;
        unsigned long code;
        const char *systemText;
        const char *expected;
    };
    for (const Row &row : {
             Row{NoProgram, 1155, "No association", ""},
             Row{FileMissing, 2, "File not found", "找不到这个文件或它所在的文件夹"},
             Row{NoPermission, 5, "Access denied", "系统不允许打开这个文件或启动浏览器"},
             Row{NoMemory, 8, "", "内存或系统资源不足"},
             Row{NoAnswer, 1156, "", "浏览器没有回应，请稍后再试"},
             Row{InUse, 32, "", "文件正被其他程序使用，请稍后再试"},
             Row{Cancelled, 1223, "", "打开已被取消"},
             Row{Other, 87, "参数错误", "系统未能打开这个文件，错误代码 87：参数错误"},
             Row{Other, 193, "Bad EXE format for %1", "系统未能打开这个文件，错误代码 193"},
             Row{Other, 1, "%2!s! failed", "系统未能打开这个文件，错误代码 1"},
             Row{Other, 4, "", "系统未能打开这个文件，错误代码 4"},
             Row{Other, 9, "100% full", "系统未能打开这个文件，错误代码 9：100% full"},
         }) {
        EXPECT_EQ(shellFailureReason(row.failure, row.code, row.systemText), row.expected)
            << row.code << " " << row.systemText;
    }
}

}  // namespace
}  // namespace velmora
