#include "core/collection/chart_search.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "core/atlas/accent_fold.h"
#include "core/chart/decimal_text.h"
#include "core/time/time_format.h"
#include "core/time/universal_time.h"

namespace tolvaris {
namespace {

// Five decimals of a degree (about a metre) survive every format's
// coordinates written and read back.
constexpr int kIdentityDecimals = 5;

int YearOf(std::string_view isoDate) {
    int year = 0;
    for (std::size_t i = 0; i < isoDate.size() && isoDate[i] >= '0' && isoDate[i] <= '9'; ++i) {
        year = year * 10 + (isoDate[i] - '0');
    }
    return year;
}

std::vector<std::string> Words(std::string_view folded) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start < folded.size()) {
        std::size_t end = folded.find(' ', start);
        end = end == std::string_view::npos ? folded.size() : end;
        if (end > start) {
            words.emplace_back(folded.substr(start, end - start));
        }
        start = end + 1;
    }
    return words;
}

}  // namespace

std::string ChartSearch::Identity(const BirthData& birth) {
    // The moment, not how it was given: a zone and the offset it had then
    // are the same birth.
    LocalTimeRequest request;
    request.date = birth.date;
    request.time = birth.time;
    request.zoneName = birth.zone;
    request.givenOffsetSeconds = birth.utcOffsetSeconds;
    request.longitude = birth.longitude;
    request.fold = birth.fold;
    const TimeResult<UniversalTime> moment = ToUniversalTime(request);
    std::string when;
    if (const auto* ut = std::get_if<UniversalTime>(&moment)) {
        when = std::to_string(ut->unixSeconds) + (birth.time ? "" : " noon");
    } else {
        when = FormatIsoDate(birth.date) + " " +
               (birth.time ? FormatIsoTime(*birth.time) : "unknown") + " " + birth.zone;
    }
    return FoldForSearch(birth.name) + "|" + when + "|" +
           FormatFixedDecimal(birth.latitude, kIdentityDecimals) + "|" +
           FormatFixedDecimal(birth.longitude, kIdentityDecimals);
}

void ChartSearch::Clear() {
    entries_.clear();
    positions_.clear();
    sorted_ = true;
}

void ChartSearch::Put(ChartListing listing) {
    Entry entry;
    entry.folded = FoldForSearch(listing.name) + "\n" + FoldForSearch(listing.place) + "\n" +
                   FoldForSearch(listing.tags);
    entry.sortKey = FoldForSearch(listing.name);
    entry.year = YearOf(listing.birthDate);
    entry.listing = std::move(listing);
    if (const auto found = positions_.find(entry.listing.id); found != positions_.end()) {
        entries_[found->second] = std::move(entry);
    } else {
        positions_[entry.listing.id] = entries_.size();
        entries_.push_back(std::move(entry));
    }
    sorted_ = false;
}

void ChartSearch::Erase(std::int64_t id) {
    const auto found = positions_.find(id);
    if (found == positions_.end()) {
        return;
    }
    const std::size_t pos = found->second;
    positions_.erase(found);
    if (pos + 1 != entries_.size()) {
        entries_[pos] = std::move(entries_.back());
        positions_[entries_[pos].listing.id] = pos;
    }
    entries_.pop_back();
    sorted_ = false;
}

void ChartSearch::Sort() {
    if (sorted_) {
        return;
    }
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
        return a.sortKey != b.sortKey ? a.sortKey < b.sortKey : a.listing.id < b.listing.id;
    });
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        positions_[entries_[i].listing.id] = i;
    }
    sorted_ = true;
}

std::vector<ChartListing> ChartSearch::Find(std::string_view text, std::size_t limit) {
    Sort();
    const std::vector<std::string> words = Words(FoldForSearch(text));
    std::vector<int> years;
    for (const std::string& word : words) {
        const bool year = word.size() == 4 && std::all_of(word.begin(), word.end(), [](char c) {
                              return c >= '0' && c <= '9';
                          });
        years.push_back(year ? YearOf(word) : -1);
    }
    std::vector<ChartListing> found;
    for (const Entry& entry : entries_) {
        if (found.size() >= limit) {
            break;
        }
        bool all = true;
        for (std::size_t i = 0; i < words.size() && all; ++i) {
            all = entry.year == years[i] || entry.folded.find(words[i]) != std::string::npos;
        }
        if (all) {
            found.push_back(entry.listing);
        }
    }
    return found;
}

std::vector<ChartListing> ChartSearch::WithTag(std::string_view tag) {
    Sort();
    std::vector<ChartListing> found;
    for (const Entry& entry : entries_) {
        const std::string& tags = entry.listing.tags;
        for (std::size_t start = 0; start <= tags.size();) {
            std::size_t end = tags.find(", ", start);
            end = end == std::string::npos ? tags.size() : end;
            if (std::string_view(tags).substr(start, end - start) == tag && end > start) {
                found.push_back(entry.listing);
                break;
            }
            start = end + 2;
        }
    }
    return found;
}

std::vector<std::string> ChartSearch::Tags() const {
    std::set<std::string> tags;
    for (const Entry& entry : entries_) {
        const std::string& list = entry.listing.tags;
        for (std::size_t start = 0; start < list.size();) {
            std::size_t end = list.find(", ", start);
            end = end == std::string::npos ? list.size() : end;
            tags.insert(list.substr(start, end - start));
            start = end + 2;
        }
    }
    return {tags.begin(), tags.end()};
}

}  // namespace tolvaris
