// Writes the search index of a place atlas: run by the build as
//   tolvaris_make_atlas_index data/atlas.tsv PROGRAM_FOLDER/atlas.idx
// The atlas is read and checked as a run would read it; the index is written
// beside the target under a temporary name and renamed over it when
// complete, so an interrupted build never leaves half an index.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "core/atlas/atlas.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ATLAS.tsv INDEX.idx\n", argv[0]);
        return 2;
    }
    const std::filesystem::path source = argv[1];
    const std::filesystem::path target = argv[2];
    std::ifstream in(source, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "%s cannot be read\n", source.c_str());
        return 1;
    }
    const tolvaris::AtlasLoadResult atlas = tolvaris::Atlas::FromText(text, source.string());
    if (!atlas.value) {
        std::fprintf(stderr, "%s\n", atlas.error.c_str());
        return 1;
    }
    const std::string bytes = atlas.value->IndexBytes(text.size());

    std::error_code error;
    std::filesystem::create_directories(target.parent_path(), error);
    std::filesystem::path partial = target;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::fprintf(stderr, "%s cannot be written\n", partial.c_str());
            std::filesystem::remove(partial, error);
            return 1;
        }
    }
    std::filesystem::rename(partial, target, error);
    if (error) {
        std::fprintf(stderr, "%s cannot be renamed to %s: %s\n", partial.c_str(), target.c_str(),
                     error.message().c_str());
        return 1;
    }
    std::printf("%s: %zu places, %zu bytes\n", target.c_str(), atlas.value->Size(), bytes.size());
    return 0;
}
