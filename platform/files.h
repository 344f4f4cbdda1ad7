#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/**
 * Files as the window and velmora-css read and write them. Each function reports a failure by
 * returning false (or nothing) and setting error to one English sentence that names the file
 * and says why.
 */

/** The path named by UTF-8 text, on every system (wide on Windows). */
std::filesystem::path pathFromUtf8(std::string_view text);

/** The path as UTF-8 text, for messages. */
std::string utf8FromPath(const std::filesystem::path &path);

/** The common causes of a failed read or write, which the window names in its own words. */
enum class FileProblem {
    Other,         ///< any other cause; the system's own text says which
    NotFound,      ///< the file, or a folder on its way, is not there
    NoPermission,  ///< the user may not read or write it
    DiskFull,      ///< no room left on the disk, or over the user's quota
    ReadOnly,      ///< a read-only file, or a file system mounted read-only
    IsFolder,      ///< a folder where a file was wanted
    NotRegular,    ///< a FIFO, device or socket where a regular file was wanted
    TooLarge,      ///< more than the most asked for, or more than the file system takes
    ReservedName,  ///< a name Windows keeps for a device (NUL, CON, COM1...), not a file
};

/** Why a file function failed, for a message in the user's language. */
struct FileFailure {
    FileProblem problem = FileProblem::Other;
    std::string systemText;  ///< the system's own words for the cause, in its language
};

/** Whether a written file must be on the disk before the write counts as done. */
enum class Durability {
    Flushed,  ///< flushed to the disk first: files the user keeps
    Cached,   ///< left to the system's cache: files rewritten often and thrown away, such as
              ///< the preview page, where waiting for the disk would stall the window
};

/** What writeFileAtomically writes besides regular files and names not yet taken. */
enum class Writable {
    AnyFile,      ///< also FIFOs, devices and the program's own descriptors, written as they are
                  ///< (for the command line, whose user may mean /dev/stdout or a pipe)
    RegularOnly,  ///< nothing else: a FIFO or device, which could keep the write waiting or take
                  ///< the bytes nowhere, is refused unopened (for the window, which must never
                  ///< wait on a write and never report a save that left no file)
};

/**
 * Writes bytes to the file at path as a user expects a program to write a file it was told to:
 *
 * - A regular file, or a name not yet taken, gets the bytes whole or not at all: they go to a
 *   temporary file in the same folder under a short name (so any name the folder accepts can be
 *   written), flushed to disk, then put in place of path. Neither a partial file nor the
 *   temporary one is left behind on failure. On Linux the temporary file has no name until it
 *   is whole, so a program ended while writing leaves nothing either; where the file system
 *   cannot do that, the named one is removed on SIGINT, SIGTERM, SIGHUP or SIGQUIT.
 * - The replaced file's permissions are kept, and its owner and group where the system allows.
 *   The file is a new one, though: other hard links to the old file keep the old bytes, and
 *   its extended attributes and access lists are not copied.
 * - A symbolic link is followed to the file it names, which is replaced (or made, for a link
 *   to nothing); the link stays as it is.
 * - A regular file the user may not write (read-only) is refused, as on Windows, although its
 *   folder would allow replacing it.
 * - A device, FIFO or other file that is not a regular file (such as /dev/null, or a named
 *   pipe on Windows) is opened and written as it is, never replaced; with
 *   Writable::RegularOnly it is refused (FileProblem::NotRegular) without being opened.
 * - On POSIX, a descriptor the program already holds is written through, never replaced nor
 *   opened again, so that the bytes go where the shell sent them: appended after what a file
 *   held for ">>", streamed into a pipe for "|". Such a descriptor is named by /dev/stdin,
 *   /dev/stdout, /dev/stderr, /dev/fd/N or /proc/self/fd/N, or is standard input, output or
 *   error open for writing and the very file path names. Not so with Writable::RegularOnly.
 * - On Windows, a name Windows keeps for a device (isWindowsDeviceName) is refused
 *   (FileProblem::ReservedName), as no file of that name would be written.
 * - A folder is refused.
 */
bool writeFileAtomically(const std::filesystem::path &path, std::string_view bytes,
                         std::string &error, Durability durability = Durability::Flushed,
                         FileFailure *why = nullptr, Writable writable = Writable::AnyFile);

/**
 * Whether Windows takes a file named name (the last part of a path, in UTF-8) for one of its
 * devices rather than a file: CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 (also with the
 * digit written ¹, ² or ³), CONIN$ and CONOUT$, in any case, alone or followed by spaces, an
 * extension (NUL.txt, nul.tar.gz), dots or a colon. COM0 and LPT0 are files: Windows' own name
 * check takes only the digits 1 to 9 and the three superscripts. The same answer on every
 * system, so that it can be tested anywhere; only the Windows build refuses such names.
 */
bool isWindowsDeviceName(std::string_view name);

/** How readFile ended. */
enum class ReadResult {
    Read,      ///< bytes holds the whole file
    Failed,    ///< the file could not be read
    TooLarge,  ///< the file holds more than the most asked for; bytes holds nothing
};

/** What readFile accepts besides regular files. */
enum class Readable {
    AnyFile,      ///< also FIFOs and devices, read until they end (for the command line)
    RegularOnly,  ///< a regular file only: a FIFO or device, which could block, is refused
                  ///< unread (for the window, which must never wait on a read)
};

/**
 * Reads the whole file at path into bytes, or refuses it once it holds more than maxBytes
 * (which also ends reading from a device without end, such as /dev/zero). Error names the file
 * and says why, for Failed and TooLarge alike; why, when given, gets the cause. On Windows a
 * name Windows keeps for a device (isWindowsDeviceName) is refused unopened
 * (FileProblem::ReservedName), whatever readable says: CON would wait for the keyboard, COM1 on
 * a serial port.
 */
ReadResult readFile(const std::filesystem::path &path, std::string &bytes, std::string &error,
                    std::uintmax_t maxBytes = UINTMAX_MAX, Readable readable = Readable::AnyFile,
                    FileFailure *why = nullptr);

/**
 * The file a path names, compared by what it is rather than how it is spelt: an existing file
 * by its device and file number (so hard links, symbolic links and "./" spellings of one file
 * are the same), a name not yet taken by its folder's numbers and the name itself. Symbolic
 * links are followed as writeFileAtomically follows them.
 */
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    std::string name;  ///< empty for an existing file; the name in the folder for a new one
    bool operator==(const FileIdentity &) const = default;
};

/**
 * The identity of the file at path, or nothing when neither it nor its folder is there; on
 * Windows also nothing, unopened, for a name Windows keeps for a device.
 */
std::optional<FileIdentity> fileIdentity(const std::filesystem::path &path);

/**
 * Makes a new folder of its own under the user's temporary folder, with a name nobody can
 * predict, that only the user can read or enter.
 */
std::optional<std::filesystem::path> makePrivateFolder(std::string &error);

/**
 * A private folder this program made and keeps hold of, written only while its path still
 * names it: a folder that a temp cleaner removed, or that someone else made again under the
 * same name, is never written into, nor is a file in it written through a link.
 */
class PrivateFolder {
public:
    /** Makes a new folder as makePrivateFolder does and holds it open. */
    static std::unique_ptr<PrivateFolder> make(std::string &error, FileFailure *why = nullptr);
    /** Lets go of the folder without removing it. */
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    /** Where the folder is. */
    const std::filesystem::path &path() const { return m_path; }

    /**
     * Whether the path still names this folder, and it is still the user's alone (on POSIX:
     * owned by the user, mode 700).
     */
    bool intact() const;

    /**
     * Writes bytes to the file name in the folder, whole or not at all, replacing whatever
     * has that name (a link is replaced, never followed), left to the system's cache. False,
     * error saying why, when the folder is no longer intact or the write fails.
     */
    bool write(const std::filesystem::path &name, std::string_view bytes, std::string &error,
               FileFailure *why = nullptr);

    /** Removes the folder and what it holds, if its path still names it; then lets go of it. */
    void remove();

private:
    PrivateFolder(std::filesystem::path path, std::intptr_t handle);

    std::filesystem::path m_path;
    std::intptr_t m_handle;  ///< the open folder: a file descriptor, or a HANDLE on Windows
};

/** The file:// address of an absolute path, with every byte that needs it percent-encoded. */
std::string fileUrl(const std::filesystem::path &path);

}  // namespace velmora
