// Files written as a user expects on Linux: through links, onto devices, keeping permissions, and
// leaving nothing behind when the program is ended; some against the real velmora-css.
#include "platform/files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <thread>

#include "platform/posix/tempfiles.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path &file, const std::string &text, unsigned mode = 0644) {
    std::ofstream(file, std::ios::binary) << text;
    fs::permissions(file, fs::perms(mode));
}

class FilesTest : public testing::Test {
protected:
    void SetUp() override {
        m_umask = ::umask(022);
        std::string error;
        m_dir = makePrivateFolder(error).value();
    }
    void TearDown() override {
        fs::remove_all(m_dir);
        ::umask(m_umask);
    }

    std::set<std::string> entries() const {
        std::set<std::string> names;
        for (const auto &entry : fs::directory_iterator(m_dir)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    /** Starts velmora-css with args, as a shell would (default signal actions), its standard
     *  error into the file err. */
    static pid_t startProgram(const std::vector<std::string> &args, const fs::path &err,
                              const std::function<void()> &inChild = {}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            for (const int signal : {SIGINT, SIGTERM}) {
                ::signal(signal, SIG_DFL);
            }
            ::dup2(::open("/dev/null", O_WRONLY), 1);
            ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
            if (inChild) {
                inChild();
            }
            std::vector<char *> argv{const_cast<char *>(VELMORA_CSS)};
            for (const std::string &arg : args) {
                argv.push_back(const_cast<char *>(arg.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        return pid;
    }

    /** Waits until pid has a file open in the test's folder other than except: its output. */
    bool waitUntilWriting(pid_t pid, const fs::path &except) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        const std::string folder = m_dir.string() + "/";
        while (std::chrono::steady_clock::now() < deadline) {
            std::error_code ignored;
            for (const auto &fd :
                 fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ignored)) {
                const std::string open = fs::read_symlink(fd.path(), ignored).string();
                if (open.starts_with(folder) && open != except.string()) {
                    return true;
                }
            }
            siginfo_t info{};
            if (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                info.si_pid == pid) {
                return false;  // ended before it wrote
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return false;
    }

    static int waitFor(pid_t pid) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }

    fs::path m_dir;
    mode_t m_umask = 0;
};

struct TargetCase {
    const char *name;
    std::function<void(const fs::path &)> setup;
    std::string given;  ///< the path written to, in the test's folder
    std::string lands;  ///< the regular file that must hold the bytes
    unsigned mode;      ///< its permissions afterwards
};
void PrintTo(const TargetCase &c, std::ostream *os) { *os << c.name; }

class FilesTargetTest : public FilesTest, public testing::WithParamInterface<TargetCase> {};

TEST_P(FilesTargetTest, LandsWhereTheUserMeantAndNothingElse) {
    const TargetCase &c = GetParam();
    c.setup(m_dir);
    std::set<std::string> expected = entries();
    expected.insert(c.lands);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(m_dir / c.given, "new", error)) << error;
    EXPECT_EQ(readAll(m_dir / c.lands), "new");
    EXPECT_EQ(fs::status(m_dir / c.lands).permissions(), fs::perms(c.mode));
    EXPECT_EQ(entries(), expected);
    if (c.given != c.lands) {
        EXPECT_TRUE(fs::is_symlink(m_dir / c.given)) << "the link itself stays";
    }
}

const std::string kLongest = std::string(251, 'n') + ".css";
const std::string kLong = std::string(245, 'n') + ".css";

INSTANTIATE_TEST_SUITE_P(
    Paths, FilesTargetTest,
    testing::Values(
        TargetCase{"NewFile", [](const fs::path &) {}, "a.css", "a.css", 0644},
        TargetCase{"KeepsPrivateMode",
                   [](const fs::path &d) { writeText(d / "a.css", "old", 0600); }, "a.css", "a.css",
                   0600},
        TargetCase{"ThroughLink",
                   [](const fs::path &d) {
                       writeText(d / "a.css", "old", 0640);
                       fs::create_symlink("a.css", d / "link.css");
                   },
                   "link.css", "a.css", 0640},
        TargetCase{"ThroughRelativeLinkInAnotherFolder",
                   [](const fs::path &d) {
                       writeText(d / "a.css", "old", 0600);
                       fs::create_directory(d / "sub");
                       fs::create_symlink("../a.css", d / "sub" / "link.css");
                   },
                   "sub/link.css", "a.css", 0600},
        TargetCase{"ThroughChainOfLinks",
                   [](const fs::path &d) {
                       writeText(d / "a.css", "old");
                       fs::create_symlink("a.css", d / "l2");
                       fs::create_symlink(d / "l2", d / "l1");
                   },
                   "l1", "a.css", 0644},
        TargetCase{"DanglingLinkMakesItsTarget",
                   [](const fs::path &d) { fs::create_symlink("made.css", d / "link.css"); },
                   "link.css", "made.css", 0644},
        TargetCase{"NewName255Bytes", [](const fs::path &) {}, kLongest, kLongest, 0644},
        TargetCase{"ReplacedName255Bytes",
                   [](const fs::path &d) { writeText(d / kLongest, "old", 0600); }, kLongest,
                   kLongest, 0600},
        TargetCase{"NewName249Bytes", [](const fs::path &) {}, kLong, kLong, 0644}),
    [](const testing::TestParamInfo<TargetCase> &info) { return info.param.name; });

// The preview's folder, once its name no longer leads to the user's own folder alone.
struct PrivateFolderCase {
    const char *name;
    void (*change)(const fs::path &folder, const fs::path &elsewhere);
    bool written;
};
void PrintTo(const PrivateFolderCase &c, std::ostream *os) { *os << c.name; }

class PrivateFolderTest : public FilesTest,
                          public testing::WithParamInterface<PrivateFolderCase> {};

TEST_P(PrivateFolderTest, IsWrittenOnlyWhileItIsTheUsersAndWhereItWasMade) {
    const PrivateFolderCase &c = GetParam();
    std::string error;
    const std::unique_ptr<PrivateFolder> folder = PrivateFolder::make(error);
    ASSERT_TRUE(folder) << error;
    const fs::path path = folder->path();
    c.change(path, m_dir / "moved");
    EXPECT_EQ(folder->write("preview.html", "page", error), c.written) << error;
    EXPECT_EQ(fs::exists(path / "preview.html"), c.written);
    folder->remove();
    fs::remove_all(path);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, PrivateFolderTest,
    testing::Values(PrivateFolderCase{"Untouched", [](const fs::path &, const fs::path &) {}, true},
                    PrivateFolderCase{"OpenedToOthers",
                                      [](const fs::path &f, const fs::path &) {
                                          fs::permissions(f, fs::perms(0755));
                                      },
                                      false},
                    PrivateFolderCase{"MovedAndALinkLeftInItsPlace",
                                      [](const fs::path &f, const fs::path &elsewhere) {
                                          fs::rename(f, elsewhere);
                                          fs::create_directory_symlink(elsewhere, f);
                                      },
                                      false}),
    [](const testing::TestParamInfo<PrivateFolderCase> &info) { return info.param.name; });

TEST_F(FilesTest, KeepsOwnerAndGroupWhereAllowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user";
    }
    const fs::path file = m_dir / "a.css";
    writeText(file, "old", 0640);
    ASSERT_EQ(::chown(file.c_str(), 4242, 4343), 0);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(file, "new", error)) << error;
    struct stat status {};
    ASSERT_EQ(::stat(file.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 4242U);
    EXPECT_EQ(status.st_gid, 4343U);
    EXPECT_EQ(status.st_mode & 07777, 0640U);
}

struct DeviceCase {
    const char *name;
    unsigned major, minor;
    bool written;
};
void PrintTo(const DeviceCase &c, std::ostream *os) { *os << c.name; }

class FilesDeviceTest : public FilesTest, public testing::WithParamInterface<DeviceCase> {};

TEST_P(FilesDeviceTest, IsWrittenNeverReplaced) {
    // A node of our own, as the test must not risk the system's.
    const fs::path device = m_dir / GetParam().name;
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(GetParam().major, GetParam().minor)) != 0) {
        GTEST_SKIP() << "cannot make device nodes here";
    }
    std::string error;
    EXPECT_EQ(writeFileAtomically(device, "css", error), GetParam().written) << error;
    if (!GetParam().written) {
        EXPECT_NE(error.find(device.string()), std::string::npos) << error;
    }
    EXPECT_TRUE(fs::is_character_file(fs::symlink_status(device)));
    EXPECT_EQ(entries(), std::set<std::string>{GetParam().name});
}

INSTANTIATE_TEST_SUITE_P(Devices, FilesDeviceTest,
                         testing::Values(DeviceCase{"null", 1, 3, true},
                                         DeviceCase{"full", 1, 7, false}),
                         [](const testing::TestParamInfo<DeviceCase> &info) {
                             return std::string(info.param.name);
                         });

TEST_F(FilesTest, FifoIsWrittenNeverReplaced) {
    const fs::path fifo = m_dir / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader that is there already, so that the write's open does not wait for one.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    std::string error;
    EXPECT_TRUE(writeFileAtomically(fifo, "css", error)) << error;
    char received[8] = {};
    EXPECT_EQ(::read(reader, received, sizeof received), 3);
    EXPECT_STREQ(received, "css");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

struct ShellCase {
    const char *name;
    std::string options;   ///< before the target, which is the option's last argument
    std::string target;    ///< the file named to velmora-css
    std::string redirect;  ///< the shell's own redirection, into log.txt
    bool keepsEarlier;     ///< log.txt holds its earlier line, then what was written
};
void PrintTo(const ShellCase &c, std::ostream *os) { *os << c.name; }

class FilesShellTest : public FilesTest, public testing::WithParamInterface<ShellCase> {};

TEST_P(FilesShellTest, DescriptorsTheShellOpenedAreWrittenThrough) {
    const ShellCase &c = GetParam();
    const auto shell = [&](const std::string &line) {
        const std::string command =
            "cd '" + m_dir.string() + "' && " + VELMORA_CSS + " " + c.options + " " + line;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;  // run by sh, as a user's line
    };
    // The same bytes written to a regular file are what must come through the descriptor.
    shell("ref.out > /dev/null");
    const std::string written = readAll(m_dir / "ref.out");
    ASSERT_FALSE(written.empty());
    writeText(m_dir / "log.txt", "earlier\n");
    shell(c.target + " " + c.redirect);
    const std::string log = readAll(m_dir / "log.txt");
    EXPECT_TRUE(log == (c.keepsEarlier ? "earlier\n" : "") + written)
        << "log.txt holds " << log.size() << " bytes from "
        << testing::PrintToString(log.substr(0, 12)) << ", not the " << written.size() << " written"
        << (c.keepsEarlier ? " after its line" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Redirections, FilesShellTest,
    testing::Values(
        ShellCase{"OutputAppended", "--output", "/dev/stdout", ">> log.txt", true},
        ShellCase{"OutputPiped", "--output", "/dev/stdout", "| cat > log.txt", false},
        ShellCase{"MakeImageAppended", "--make-image '#FF6600'", "/dev/stdout", ">> log.txt", true},
        ShellCase{"MakeImagePiped", "--make-image '#FF6600'", "/dev/stdout", "| cat > log.txt",
                  false},
        ShellCase{"SaveValuesAppended", "--slot 2=#000 --output /dev/null --save-values",
                  "/dev/stdout", ">> log.txt", true},
        ShellCase{"SaveValuesPiped", "--slot 2=#000 --output /dev/null --save-values",
                  "/dev/stdout", "| cat > log.txt", false},
        ShellCase{"PreviewAppended", "--output /dev/null --preview", "/dev/stdout", ">> log.txt",
                  true},
        ShellCase{"PreviewPiped", "--output /dev/null --preview", "/dev/stdout", "| cat > log.txt",
                  false},
        ShellCase{"StandardErrorAppended", "--output", "/dev/stderr", "2>> log.txt", true},
        ShellCase{"DescriptorThreeAppended", "--output", "/dev/fd/3", "3>> log.txt", true},
        ShellCase{"ProcDescriptorPiped", "--output", "/proc/self/fd/1", "| cat > log.txt", false},
        // Not a name of a descriptor, yet the very file standard output is.
        ShellCase{"OtherSpellingAppended", "--output", "/dev/./stdout", ">> log.txt", true},
        // Standard input holds it for reading only: replaced whole, as any regular file.
        ShellCase{"ReadOnlyHeldFileReplaced", "--output", "log.txt", "< log.txt", false}),
    [](const testing::TestParamInfo<ShellCase> &info) { return info.param.name; });

TEST_F(FilesTest, ReadingStopsAtTheLimit) {
    std::string bytes, error;
    EXPECT_EQ(readFile("/dev/zero", bytes, error, 1 << 20), ReadResult::TooLarge);
    EXPECT_EQ(error, "cannot read /dev/zero: it holds more than 1 MiB");
    writeText(m_dir / "a.txt", "12345");
    EXPECT_EQ(readFile(m_dir / "a.txt", bytes, error, 4), ReadResult::TooLarge);
    EXPECT_EQ(readFile(m_dir / "a.txt", bytes, error, 5), ReadResult::Read);
    EXPECT_EQ(bytes, "12345");
}

struct SignalCase {
    const char *name;
    int signal;
    bool replacing;  ///< an older nav.css is there
    bool named;      ///< the fallback's named temporary file, in a child of the test
};
void PrintTo(const SignalCase &c, std::ostream *os) { *os << c.name; }

class FilesSignalTest : public FilesTest, public testing::WithParamInterface<SignalCase> {};

TEST_P(FilesSignalTest, EndedWhileWritingLeavesNothingBehind) {
    const SignalCase &c = GetParam();
    const fs::path values = m_dir / "big.txt";
    const fs::path output = m_dir / "nav.css";
    const std::string value(5'000'000, 'x');
    writeText(values, "slot.1=" + value + "\nslot.2=" + value + "\nslot.3=" + value + "\n");
    if (c.replacing) {
        writeText(output, "old");
    }
    const std::set<std::string> before = entries();
    pid_t pid = 0;
    if (c.named) {
        pid = ::fork();
        if (pid == 0) {
            std::string error;
            posix::writeFileAtomically(output, std::string(60'000'000, 'x'), error,
                                       posix::Temporary::Named);
            ::_exit(0);
        }
    } else {
        pid = startProgram({"--values", values, "--output", output}, "/dev/null");
    }
    ASSERT_TRUE(waitUntilWriting(pid, values));
    ::kill(pid, c.signal);
    const int status = waitFor(pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
    EXPECT_EQ(entries(), before);
    if (c.replacing) {
        EXPECT_EQ(readAll(output), "old");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Signals, FilesSignalTest,
    testing::Values(SignalCase{"InterruptedNewFile", SIGINT, false, false},
                    SignalCase{"TerminatedReplacing", SIGTERM, true, false},
                    SignalCase{"NamedTemporaryInterrupted", SIGINT, false, true},
                    SignalCase{"NamedTemporaryTerminated", SIGTERM, true, true}),
    [](const testing::TestParamInfo<SignalCase> &info) { return info.param.name; });

TEST_F(FilesTest, LackOfMemoryIsOneLineAndStatusOne) {
    const fs::path values = m_dir / "big.txt";
    const fs::path err = m_dir / "err.txt";
    writeText(values, "slot.1=" + std::string(80 << 20, 'x') + "\n");
    const pid_t pid = startProgram({"--values", values}, err, [] {
        // Room for the file's bytes, not for their UTF-16 text as well.
        const rlimit limit{160 << 20, 160 << 20};
        ::setrlimit(RLIMIT_AS, &limit);
    });
    const int status = waitFor(pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_EQ(readAll(err), "velmora-css: out of memory\n");
}

}  // namespace
}  // namespace velmora
