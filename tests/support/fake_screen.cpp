#include "support/fake_screen.h"

#include "support/temp_folder.h"

namespace tolvaris::test {

void FakeDisplay::LoadPageFile(const std::filesystem::path& pageFile) {
    shownText = ReadBytes(pageFile);
    ++loads;
}

}  // namespace tolvaris::test
