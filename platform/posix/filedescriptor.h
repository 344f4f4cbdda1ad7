#pragma once

#include <string_view>

namespace velmora::posix {

/** Closes a file descriptor when it goes out of scope. */
class FileDescriptor {
public:
    /** Takes over fd; -1 holds nothing. */
    explicit FileDescriptor(int fd = -1) : m_fd(fd) {}
    /** Closes the descriptor held, if any. */
    ~FileDescriptor();
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    /** The descriptor held, or -1. */
    int get() const { return m_fd; }

    /** Closes the descriptor held, if any, and takes over fd. */
    void reset(int fd);

    /** Closes the descriptor now; false, with errno set, when close reports a failure. */
    bool close();

private:
    int m_fd;
};

/** Writes all of bytes to fd, again after interruptions; false, with errno set, on failure. */
bool writeAll(int fd, std::string_view bytes);

}  // namespace velmora::posix
