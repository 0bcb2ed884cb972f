#include "core/chart/lazy_atlas.h"

namespace tolvaris {

const Atlas* LazyAtlas::Get() {
    if (!tried_) {
        tried_ = true;
        AtlasLoadResult loaded = Atlas::Load(file_);
        atlas_ = std::move(loaded.Value);
        error_ = std::move(loaded.Error);
    }
    return atlas_ ? &*atlas_ : nullptr;
}

}  // namespace tolvaris
