#include "core/common/latin_fold.h"

#include <iterator>

namespace tolvaris {
namespace {

#include "core/common/latin_fold_table.inc"

}  // namespace

const char* LatinFold(char32_t code) {
    if (code >= kFirstLatinBlockStart &&
        code < kFirstLatinBlockStart + std::size(kFirstLatinBlock)) {
        return kFirstLatinBlock[code - kFirstLatinBlockStart];
    }
    if (code >= kLatinAdditionalStart &&
        code < kLatinAdditionalStart + std::size(kLatinAdditional)) {
        return kLatinAdditional[code - kLatinAdditionalStart];
    }
    return nullptr;
}

}  // namespace tolvaris
