#include "bench_data.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace tolvaris::bench {
namespace {

// Deterministic and fast; the same seed makes the same files on every run.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // A number from `low` to `high`, both included.
    std::size_t Between(std::size_t low, std::size_t high) {
        return low + static_cast<std::size_t>(Next() % (high - low + 1));
    }

private:
    std::uint64_t state_;
};

// Words of the kind the interpretation texts use; the planets' names appear
// in the text too, so line starts that resemble a key are common.
constexpr std::array<std::string_view, 96> kWords = {
    "you",      "your",     "the",        "and",       "with",       "others",   "feel",
    "need",     "when",     "life",       "home",      "work",       "partner",  "freedom",
    "change",   "steady",   "restless",   "warmth",    "pride",      "caution",  "learn",
    "give",     "take",     "trust",      "quietly",   "boldly",     "deeply",   "often",
    "rarely",   "always",   "sometimes",  "energy",    "purpose",    "insight",  "patience",
    "courage",  "comfort",  "security",   "ambition",  "duty",       "pleasure", "beauty",
    "harmony",  "tension",  "conflict",   "balance",   "growth",     "limits",   "children",
    "friends",  "family",   "money",      "values",    "habits",     "health",   "service",
    "travel",   "study",    "faith",      "career",    "reputation", "hopes",    "secrets",
    "solitude", "instinct", "reason",     "speech",    "ideas",      "letters",  "neighbours",
    "siblings", "mother",   "father",     "love",      "desire",     "anger",    "drive",
    "luck",     "wisdom",   "discipline", "structure", "surprise",   "vision",   "dreams",
    "Sun",      "Moon",     "Mercury",    "Venus",     "Mars",       "Jupiter",  "Saturn",
    "Uranus",   "Neptune",  "Pluto",      "in",        "to",
};

constexpr std::array<std::string_view, 9> kOtherPlanets = {
    "SUN", "MOON", "MERCURY", "VENUS", "MARS", "JUPITER", "SATURN", "URANUS", "NEPTUNE",
};

constexpr std::array<std::string_view, 12> kSigns = {
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces",
};

constexpr std::string_view kWantedKey = "PLUTO in";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(text[i]) != lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

std::string MakeLine(Random& random, std::size_t length) {
    std::string line;
    line.reserve(length + 16);
    while (line.size() < length) {
        if (!line.empty()) {
            line.push_back(' ');
        }
        line.append(kWords[random.Next() % kWords.size()]);
    }
    line.resize(length);
    if (line[0] >= 'a' && line[0] <= 'z') {
        line[0] = static_cast<char>(line[0] - 32);
    }
    // Only the last entry may begin with the wanted key.
    if (StartsWithIgnoringCase(line, kWantedKey)) {
        line[0] = 'T';
    }
    return line;
}

class Output {
public:
    explicit Output(const std::filesystem::path& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr) {
            throw std::runtime_error("cannot create " + path.string());
        }
        buffer_.reserve(kFlushAt + 4096);
    }
    ~Output() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void Line(std::string_view text) {
        buffer_.append(text).append("\r\n");
        written_ += text.size() + 2;
        if (buffer_.size() >= kFlushAt) {
            Flush();
        }
    }
    std::uint64_t Written() const { return written_; }
    void Close() {
        Flush();
        if (std::fclose(file_) != 0) {
            file_ = nullptr;
            throw std::runtime_error("cannot write a generated file");
        }
        file_ = nullptr;
    }

private:
    void Flush() {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
            throw std::runtime_error("cannot write a generated file");
        }
        buffer_.clear();
    }
    static constexpr std::size_t kFlushAt = std::size_t{1} << 20;
    std::FILE* file_;
    std::string buffer_;
    std::uint64_t written_ = 0;
};

// Writes one entry; returns how many lines the reader would store of it.
std::int32_t WriteEntry(Output& out, Random& random, std::string_view keyLine) {
    const std::size_t lines = random.Between(5, 30);
    out.Line(keyLine);
    out.Line("");
    for (std::size_t i = 2; i < lines; ++i) {
        out.Line(MakeLine(random, random.Between(40, 120)));
    }
    out.Line(random.Next() % 2 == 0 ? "*" : "[]");
    return static_cast<std::int32_t>(lines);
}

}  // namespace

InterpretationFile WriteInterpretationFile(const std::filesystem::path& path,
                                           std::uint64_t targetBytes, std::uint64_t seed) {
    Random random(seed);
    Output out(path);
    // Room for the wanted entry, which is at most 30 lines of 120 bytes.
    while (out.Written() + 31 * 122 < targetBytes) {
        std::string key(kOtherPlanets[random.Next() % kOtherPlanets.size()]);
        key.append(" in ").append(kSigns[random.Next() % kSigns.size()]);
        WriteEntry(out, random, key);
    }
    InterpretationFile file;
    file.path = path;
    file.key = std::string(kWantedKey);
    file.entryLines = WriteEntry(out, random, std::string(kWantedKey) + " Pisces");
    out.Close();
    file.bytes = out.Written();
    return file;
}

const InterpretationFile& LazyInterpretationFile::Get() {
    if (!written_) {
        std::cerr << "Writing " << path_.filename().string() << std::endl;
        file_ = WriteInterpretationFile(path_, targetBytes_, seed_);
        written_ = true;
    }
    return file_;
}

std::uint64_t WriteTextFile(const std::filesystem::path& path, std::uint64_t targetBytes,
                            std::uint64_t seed) {
    Random random(seed);
    Output out(path);
    while (out.Written() < targetBytes) {
        out.Line(MakeLine(random, random.Between(40, 120)));
    }
    out.Close();
    return out.Written();
}

std::string TextLine(std::uint64_t seed, std::size_t length) {
    Random random(seed);
    return MakeLine(random, length);
}

}  // namespace tolvaris::bench
