#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/atlas/atlas.h"

namespace tolvaris {

// The place atlas, read on first use: most runs never look a place up, and
// without its index beside it the text takes a noticeable moment to read.
class LazyAtlas {
public:
    explicit LazyAtlas(std::filesystem::path file) : file_(std::move(file)) {}

    // The atlas, or nothing when it could not be read (see Error). Reads the
    // file on the first call only; a failure is not retried.
    const Atlas* Get();
    // Why the atlas could not be read; empty before the first Get or on success.
    const std::string& Error() const { return error_; }
    bool Tried() const { return tried_; }

private:
    std::filesystem::path file_;
    bool tried_ = false;
    std::optional<Atlas> atlas_;
    std::string error_;
};

}  // namespace tolvaris
