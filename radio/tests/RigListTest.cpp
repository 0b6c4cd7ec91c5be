// The Hamlib rig list, and its numbers as the installed Hamlib knows them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <map>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "platform/runtime/RuntimeError.h"
#include "radio/modRigList.h"

using namespace modRigList;

namespace {

class RigList : public ::testing::Test {
protected:
    void SetUp() override { rigs.BuildRigList(); }
    RigListTable rigs;
};

TEST_F(RigList, Has133RowsInAscendingOrderOfUniqueNumbers) {
    ASSERT_EQ(rigs.RigList.size(), 133u);
    EXPECT_EQ(rigs.RigListCount, 132);
    for (size_t i = 0; i < rigs.RigList.size(); ++i) {
        EXPECT_EQ(rigs.RigList[i].Index, static_cast<int32_t>(i));
        if (i > 0) {
            EXPECT_LT(rigs.RigList[i - 1].RigNo, rigs.RigList[i].RigNo) << "row " << i;
        }
    }
    EXPECT_EQ(rigs.RigList[132].RigNo, 2503);

    // Building again gives the same rows, not more.
    rigs.BuildRigList();
    EXPECT_EQ(rigs.RigList.size(), 133u);
    EXPECT_EQ(rigs.RigListCount, 132);
}

TEST_F(RigList, RowsCarryTheirBackendsVersionAndStatus) {
    // Keyed by number: the row list is the whole list, and its positions are the indices.
    const struct {
        int32_t index, rigNo;
        const char *desc, *version, *status;
    } rows[] = {{0, 1, "Hamlib:Dummy", "0.2", "Beta"},
                {1, 101, "Yaesu:FT-847", "0.2", "Alpha"},
                {2, 103, "Yaesu:FT-1000D", "0.0.5", "Alpha"},
                {8, 113, "Yaesu:FT-900", "0.1", "New"},
                {23, 202, "Kenwood:TS-440", "0.5.0.6", "Alpha"},
                {57, 315, "Icom:IC-726", "0.4", "Stable"},
                {63, 324, "Icom:IC-751", "0.4.1", "Beta"},
                {104, 606, "JRC:NRD-535D", "0.6", "Stable"},
                {125, 2101, "Microtune:4937-D15", "0.2.1", "Untested"},
                {130, 2501, "Elektor:DRM RX 03/04", "0.4", "Beta"},
                {131, 2502, "SAT-Schneider:DRT1", "0.2", "Beta"},
                {132, 2503, "Coding-Technologies:DWT", "0.1", "Alpha"}};
    for (const auto& r : rows) {
        const RigListEntry& entry = rigs.RigList.at(r.index);
        EXPECT_EQ(entry.RigNo, r.rigNo) << r.index;
        EXPECT_EQ(entry.Desc, r.desc) << r.index;
        EXPECT_EQ(entry.Version, r.version) << r.index;
        EXPECT_EQ(entry.Status, r.status) << r.index;
    }

    std::map<std::string, int> statuses;
    for (const RigListEntry& entry : rigs.RigList)
        ++statuses[entry.Status];
    EXPECT_EQ(statuses, (std::map<std::string, int>{
                            {"Alpha", 41}, {"Beta", 34}, {"New", 15}, {"Stable", 3}, {"Untested", 40}}));
}

TEST_F(RigList, DescriptionOfANumber) {
    const std::pair<int32_t, const char*> cases[] = {{2502, "SAT-Schneider:DRT1"},
                                                     {1, "Hamlib:Dummy"},
                                                     {1602, "Ten-Tec:TT-538 Jupiter"},
                                                     {102, ""},
                                                     {0, ""},
                                                     {-1, ""}};
    for (const auto& [rigNo, desc] : cases)
        EXPECT_EQ(rigs.RigDescFromNo(rigNo), desc) << rigNo;
    EXPECT_EQ(RigListTable{}.RigDescFromNo(1), "") << "before the list is built";
}

TEST(HamlibModelNumber, MovesTheBackendToHamlibsThousands) {
    const std::pair<int32_t, int32_t> cases[] = {{1, 1},
                                                 {2, 2},
                                                 {101, 1001},
                                                 {2503, 25003},
                                                 {0, 0},
                                                 {99, 99},
                                                 {-101, -1001},
                                                 {214748364, 2147483064},
                                                 {214748399, 2147483099},
                                                 {-214748399, -2147483099}};
    for (const auto& [rigNo, model] : cases)
        EXPECT_EQ(hamlibModelNumber(rigNo), model) << rigNo;
}

TEST(HamlibModelNumber, ASavedNumberBeyondHamlibsRangeRaisesOverflow) {
    for (const int32_t rigNo : {214748400, -214748400, INT32_MAX, INT32_MIN}) {
        try {
            hamlibModelNumber(rigNo);
            ADD_FAILURE() << rigNo;
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.Number(), runtime::err::kOverflow) << rigNo;
        }
    }
}

// Runs the probe over model numbers; the numbers the installed Hamlib has no capabilities for.
std::vector<std::string> modelsHamlibLacks(const std::vector<int32_t>& models, int& exitStatus) {
    std::string command = HAMLIB_MODEL_PROBE;
    for (const int32_t model : models) {
        command += ' ';
        command += std::to_string(model);
    }
    FILE* out = popen(command.c_str(), "r");
    if (!out) return {"probe did not start"};
    std::vector<std::string> lacking;
    char line[64];
    while (fgets(line, sizeof line, out)) {
        std::string text = line;
        lacking.push_back(text.substr(0, text.find('\n')));
    }
    exitStatus = pclose(out);
    return lacking;
}

TEST_F(RigList, EveryConvertedNumberIsARigOfTheInstalledHamlibSaveThreeItWasBuiltWithout) {
    std::vector<int32_t> models;
    for (const RigListEntry& entry : rigs.RigList)
        models.push_back(hamlibModelNumber(entry.RigNo));
    int exitStatus = -1;
    const auto lacking = modelsHamlibLacks(models, exitStatus);
    ASSERT_TRUE(WIFEXITED(exitStatus) && WEXITSTATUS(exitStatus) == 0) << "the probe failed";
    // Winradio:WR-G303 and the two Microtune tuners are not in Debian's Hamlib build.
    EXPECT_THAT(lacking, ::testing::ElementsAre("15008", "21001", "21002"));
}

} // namespace
