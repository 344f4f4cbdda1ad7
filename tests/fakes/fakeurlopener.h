#pragma once

#include <vector>

#include "platform/urlopener.h"

namespace velmora {

/** Records the addresses it is asked to open; fails when told to. */
class FakeUrlOpener final : public UrlOpener {
public:
    bool works = true;
    std::vector<std::string> opened;

    bool open(const std::string &url) override {
        opened.push_back(url);
        return works;
    }
};

}  // namespace velmora
