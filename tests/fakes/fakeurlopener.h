#pragma once

#include <vector>

#include "platform/files.h"
#include "platform/urlopener.h"

namespace velmora {

/** Records the addresses it is asked to open (a file as its file: address); fails when told to,
 *  a file with why. */
class FakeUrlOpener final : public UrlOpener {
public:
    bool works = true;
    OpenFailure why;  ///< what a file that cannot be opened is said to fail for
    std::vector<std::string> opened;

    bool open(const std::string &url) override {
        opened.push_back(url);
        return works;
    }

    bool openFile(const std::filesystem::path &file, OpenFailure &failure) override {
        opened.push_back(fileUrl(file));
        if (!works) {
            failure = why;
        }
        return works;
    }
};

}  // namespace velmora
