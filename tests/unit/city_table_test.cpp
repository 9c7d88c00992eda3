#include "platform/Resources.h"
#include "solar/CityTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

CityRecord At(int position) {
    const std::optional<CityRecord> record = CityAt(position);
    if (!record) throw std::out_of_range("no city at " + std::to_string(position));
    return *record;
}

std::vector<std::string> AllNames() {
    std::vector<std::string> names;
    for (int i = 0; i < CityCount; ++i) names.emplace_back(At(i).Name());
    return names;
}

// "FRANKFURT ODER GE" -> "FRANKFURT ODER"; "ABBEVILLE(SC) US" -> "ABBEVILLE(SC)".
std::string_view CityPart(std::string_view name) { return name.substr(0, name.rfind(' ')); }

// A name with a further word standing before the bare name it begins with.
bool IsOrderException(std::string_view before, std::string_view after) {
    const std::string_view bare = CityPart(after);
    const std::string_view longer = CityPart(before);
    return longer.size() > bare.size() + 1 && longer.starts_with(bare) && longer[bare.size()] == ' ';
}

TEST(CityTable, IsTheEmbeddedResourceReadInPlace) {
    const auto bytes = platform::FindResourceBytes("cities");
    ASSERT_EQ(bytes.size(), 251968u);
    EXPECT_EQ(std::size_t(CityCount) * CityRecordSize, bytes.size());

    // Views point into the program image: nothing is copied.
    EXPECT_EQ(static_cast<const void*>(At(0).Name().data()), bytes.data());
    EXPECT_EQ(static_cast<const void*>(At(CityCount - 1).Name().data()),
              bytes.data() + (CityCount - 1) * CityRecordSize);
}

TEST(CityTable, PositionsOutsideTheTableHaveNoRecord) {
    EXPECT_FALSE(CityAt(-1).has_value());
    EXPECT_FALSE(CityAt(CityCount).has_value());
    EXPECT_FALSE(CityAt(std::numeric_limits<int>::min()).has_value());
    EXPECT_FALSE(CityAt(std::numeric_limits<int>::max()).has_value());
    EXPECT_TRUE(CityAt(0).has_value());
    EXPECT_TRUE(CityAt(CityCount - 1).has_value());
}

TEST(CityTable, FixedRowsStandAtTheirPositions) {
    struct Row {
        int position;
        const char* name;
        float latitude;
        float longitude;
        int offset;
    };
    const Row rows[] = {
        {0, "AACHEN GE", 50.783333f, 6.1f, 1},
        {5, "ABBEVILLE(SC) US", 34.15f, -81.58334f, -5},
        {19, "ADELAIDE(SA) AU", -33.08333f, 138.6f, 9},
        {420, "BOMBAY IN", 19.0f, 72.8f, 5},
        {1195, "FRANKFURT MAIN GE", 50.11666f, 8.68333f, 1},
        {3936, "ZWOLLE NE", 52.51667f, 6.06667f, 1},
    };
    for (const Row& row : rows) {
        const CityRecord record = At(row.position);
        EXPECT_EQ(record.Name(), row.name) << row.position;
        EXPECT_EQ(record.Latitude(), row.latitude) << row.name;
        EXPECT_EQ(record.Longitude(), row.longitude) << row.name;
        EXPECT_EQ(record.Offset(), row.offset) << row.name;
    }
}

TEST(CityTable, NamesAreCapitalsWithARegionWhereNeededAndACountryCode) {
    const auto bytes = platform::FindResourceBytes("cities");
    const std::regex shape(R"([A-Z][A-Z '.-]*(\([A-Z]{2,3}\))? [A-Z]{2})");
    for (int i = 0; i < CityCount; ++i) {
        const std::string name(At(i).Name());
        EXPECT_LE(name.size(), 27u) << name;
        EXPECT_TRUE(std::regex_match(name, shape)) << i << ": " << name;
        const std::string code = name.substr(name.size() - 2);
        const bool needsRegion = code == "US" || code == "CA" || code == "AU";
        EXPECT_EQ(needsRegion, name.find('(') != std::string::npos) << name;

        // The name field is padded with NUL bytes to its end.
        for (std::size_t b = name.size(); b < CityNameFieldSize; ++b) {
            ASSERT_EQ(bytes[i * CityRecordSize + b], 0) << name;
        }
    }
}

TEST(CityTable, IsInByteOrderExceptForLongerNamesBeforeTheirBareName) {
    const std::vector<std::string> names = AllNames();
    std::set<std::string, std::less<>> bareNames;
    for (std::size_t i = 1; i < names.size(); ++i) {
        if (names[i - 1] <= names[i]) continue;
        EXPECT_TRUE(IsOrderException(names[i - 1], names[i])) << names[i - 1] << " > " << names[i];
        bareNames.emplace(CityPart(names[i]));
    }
    EXPECT_EQ(bareNames, (std::set<std::string, std::less<>>{"BERGEN", "FRANKFURT"}));

    // The longer names stand together directly before their bare name...
    EXPECT_EQ(names[1196], "FRANKFURT ODER GE");
    EXPECT_EQ(names[1197], "FRANKFURT GE");
    const auto bergen = std::ranges::find(names, "BERGEN OP ZOOM NE");
    ASSERT_NE(bergen, names.end());
    EXPECT_EQ(*std::next(bergen), "BERGEN NO");

    // ...and without them everything is in byte order.
    std::vector<std::string> others;
    std::ranges::copy_if(names, std::back_inserter(others), [&](const std::string& name) {
        return std::ranges::none_of(bareNames, [&](std::string_view bare) {
            return name.starts_with(std::string(bare) + " ") && CityPart(name).size() > bare.size();
        });
    });
    EXPECT_EQ(names.size() - others.size(), 3u);
    EXPECT_TRUE(std::ranges::is_sorted(others));
}

TEST(CityTable, OffsetsCoordinatesAndCountryCodesAreSound) {
    std::map<std::string, std::pair<float, float>> known;
    for (int i = 0; i < CityCount; ++i) {
        const CityRecord r = At(i);
        EXPECT_GE(r.Offset(), -10) << r.Name();
        EXPECT_LE(r.Offset(), 12) << r.Name();
        EXPECT_GE(r.Latitude(), -53.5f) << r.Name();
        EXPECT_LE(r.Latitude(), 69.0f) << r.Name();
        EXPECT_GE(r.Longitude(), -180.0f) << r.Name();
        EXPECT_LE(r.Longitude(), 180.0f) << r.Name();
        known.emplace(std::string(r.Name()), std::pair(r.Latitude(), r.Longitude()));
    }
    // A few well-known places, one per continent, under their country codes.
    struct Place {
        const char* name;
        float latitude;
        float longitude;
    };
    const Place places[] = {
        {"BERLIN GE", 52.5f, 13.4f},        {"AMSTERDAM NE", 52.4f, 4.9f},
        {"OSLO NO", 59.9f, 10.7f},          {"TBILISI GO", 41.7f, 44.8f},
        {"NIAMEY NX", 13.5f, 2.1f},         {"TOKYO JP", 35.7f, 139.7f},
        {"SYDNEY(NSW) AU", -33.9f, 151.2f}, {"TORONTO(ON) CA", 43.7f, -79.4f},
        {"CHICAGO(IL) US", 41.9f, -87.6f},  {"SAO PAULO BR", -23.5f, -46.6f},
        {"NAIROBI KE", -1.3f, 36.8f},
    };
    for (const Place& place : places) {
        const auto found = known.find(place.name);
        ASSERT_NE(found, known.end()) << place.name;
        EXPECT_NEAR(found->second.first, place.latitude, 0.5f) << place.name;
        EXPECT_NEAR(found->second.second, place.longitude, 0.5f) << place.name;
    }
}

}  // namespace
