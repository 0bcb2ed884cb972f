#include "core/chart/lazy_atlas.h"

namespace tolvaris {

const Atlas* LazyAtlas::Get() {
    if (!tried_) {
        tried_ = true;
        AtlasLoadResult loaded = Atlas::Load(file_);
        atlas_ = std::move(loaded.value);
        error_ = std::move(loaded.error);
    }
    return atlas_ ? &*atlas_ : nullptr;
}

}  // namespace tolvaris
