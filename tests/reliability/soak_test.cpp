// A soak: 100,000 requests in one process, every kind in turn, each read from
// a small data file and handed on through the page file as in the program.
// Open file descriptors stay exactly as they were, and the memory in use
// grows only by what the data buffer holds: emptying the buffer gives it all
// back, and the resident size stays within what the buffer needs.

#include <gtest/gtest.h>
#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "core/common/cp1252.h"
#include "core/engine/page_buffers.h"
#include "core/requests/captions.h"
#include "core/requests/requests.h"
#include "support/fake_screen.h"
#include "support/reliability_support.h"
#include "support/temp_folder.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; g++ ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace tolvaris {
namespace {

using test::FakeNotices;
using test::WriteBytes;

// Bytes the program has allocated and not freed.
std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

std::string Entry(const std::string& key) {
    return key + " (entry)\r\nA first line of this reading.\r\nA second line.\r\n*\r\n";
}

// Data files with an entry for every request that is not refused.
void WriteLibrary(const std::filesystem::path& folder) {
    for (const auto sign : kSignCaptions) {
        std::string text;
        for (int planet = 0; planet < 7; ++planet) {
            text += Entry(ToUpper1252(kPlanetCaptions[planet]) + " in " + std::string(sign));
        }
        WriteBytes(folder / ("SIGN_" + std::string(sign.substr(0, 3)) + ".TXT"), text);
    }
    for (std::size_t house = 1; house <= kHouseCaptions.size(); ++house) {
        std::string text;
        for (int planet = 0; planet < 10; ++planet) {
            text += Entry(ToUpper1252(kPlanetCaptions[planet]) + " in");
        }
        WriteBytes(folder / ("HOUSE_" + std::to_string(house) + ".TXT"), text);
    }
    std::string rising;
    for (const auto sign : kSignCaptions) {
        rising += Entry(ToUpper1252(sign) + " rising");
    }
    WriteBytes(folder / "RISING.TXT", rising);
    for (std::size_t left = 0; left < kPlanetCaptions.size(); ++left) {
        std::string text;
        for (std::size_t right = left + 1; right < kPlanetCaptions.size(); ++right) {
            for (const auto phrase : kAspectPhrases) {
                text += Entry(std::string(kPlanetCaptions[left]) + " " + std::string(phrase) + " " +
                              std::string(kPlanetCaptions[right]));
            }
        }
        WriteBytes(folder / (std::string(kPlanetCaptions[left]) + ".TXT"), text);
    }
}

// The n-th request of a fixed mixture of all four kinds and all selections.
void Request(Requests& requests, long n) {
    const auto pick = [&](long modulus, long salt) {
        return static_cast<std::int16_t>((n * 7919 + salt * 104729 + n / 13) % modulus);
    };
    switch (n % 4) {
        case 0:
            requests.Select(OptionGroup::Planet, pick(7, 1));
            requests.Select(OptionGroup::Sign, pick(12, 2));
            requests.OKSigns_Click();
            break;
        case 1:
            requests.Select(OptionGroup::Planet, pick(10, 3));
            requests.Select(OptionGroup::House, pick(12, 4));
            requests.OKHouses_Click();
            break;
        case 2:
            requests.Select(OptionGroup::Sign, pick(12, 5));
            requests.OKRisingSign_Click();
            break;
        default: {
            const std::int16_t planet = pick(10, 6);
            requests.Select(OptionGroup::Planet, planet);
            requests.Select(OptionGroup::SecondPlanet,
                            static_cast<std::int16_t>(planet + 1 + pick(10 - planet, 7)));
            requests.Select(OptionGroup::AspectKind, pick(3, 8));
            requests.OKAspects_Click();
        }
    }
}

// What the data buffer's lines take on the heap at the least: the text of
// each and its shared holder (a control block and a string).
std::size_t BufferBytes(const PageBuffers& buffers) {
    std::size_t bytes = buffers.DataBuffer().capacity() * sizeof(Line);
    for (const Line& line : buffers.DataBuffer()) {
        if (!line.Empty()) {
            bytes += line.Size() + sizeof(std::string) + 16;
        }
    }
    return bytes;
}

// 100,000 requests take about 8 s in a debug build here and about 17 s under
// AddressSanitizer, which slows every allocation and file read; the sanitizer
// build runs a tenth of them so as not to hold up CI. TOLVARIS_SOAK_REQUESTS
// sets any number.
long SoakRequests() {
    if (const char* value = std::getenv("TOLVARIS_SOAK_REQUESTS")) {
        return std::atol(value);
    }
    return test::kUnderSanitizer ? 10000 : 100000;
}

TEST(Soak, ManyRequestsKeepFilesAndMemoryInCheck) {
    // In memory where possible: on this machine's disk every replacement of
    // the page file waits for the journal, and the run would measure that.
    test::FastFolder folder;
    WriteLibrary(folder.Path());
    test::PageSizeDisplay display;
    FakeNotices notices;
    AtomicFileWriter writer;
    PageBuffers buffers(display, notices, folder.Path(), writer);
    Requests requests(buffers, notices, folder.Path());
    const long total = SoakRequests();

    // Warm up the allocator and the library's caches, then start from an
    // empty buffer.
    for (long n = 0; n < 2000; ++n) {
        Request(requests, n);
    }
    buffers.ClearDataBuffer();
    const std::size_t descriptors = test::OpenDescriptorCount();
    const std::size_t heapStart = HeapInUse();
    const std::size_t rssStart = test::StatusKilobytes("VmRSS");
    const long pagesStart = display.pages;

    const auto start = std::chrono::steady_clock::now();
    for (long n = 0; n < total; ++n) {
        Request(requests, n);
        if (n % 10000 == 0) {
            ASSERT_EQ(test::OpenDescriptorCount(), descriptors) << "after " << n << " requests";
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_TRUE(notices.messages.empty()) << notices.messages[0].text;
    EXPECT_EQ(display.pages - pagesStart, total);
    EXPECT_EQ(display.failedPageFiles, 0);
    // Every request stores an empty line, its entry of three lines, and the
    // empty line that closes the page.
    EXPECT_EQ(buffers.DataCount(), total * 5);
    EXPECT_EQ(test::OpenDescriptorCount(), descriptors);

    const std::size_t held = BufferBytes(buffers);
    const std::size_t heapGrowth = HeapInUse() - heapStart;
    const std::size_t rssGrowth = (test::StatusKilobytes("VmRSS") - rssStart) * 1024;
    // Allocator rounding and headers cost at most about as much again.
    EXPECT_LE(heapGrowth, held * 2 + (1 << 20));
    if (!test::kUnderSanitizer) {
        EXPECT_LE(rssGrowth, held * 2 + (8 << 20));
    }

    // Emptied, the buffer gives back everything the requests took.
    buffers.ClearDataBuffer();
    const std::size_t heapAfter = HeapInUse();
    EXPECT_LE(heapAfter, heapStart + (256 << 10)) << "kept after emptying the buffer";
    std::cout << total << " requests in " << seconds << " s; descriptors " << descriptors
              << " throughout; buffer " << held / 1024 << " KiB, heap growth " << heapGrowth / 1024
              << " KiB, resident growth " << rssGrowth / 1024 << " KiB; heap after emptying "
              << (static_cast<long>(heapAfter) - static_cast<long>(heapStart)) / 1024
              << " KiB from the start\n";
}

}  // namespace
}  // namespace tolvaris
