// The probe accepts the signal processing library only at file version "4, 5, 2, 2".
#include <filesystem>

#include "dsp/testing/DspFixture.h"

namespace {

struct ProbeCase {
    const char* name;
    std::optional<std::string> version; // nullopt: the file carries no version record
    bool available;
};

void PrintTo(const ProbeCase& c, std::ostream* os) {
    *os << c.name;
}

class ProbeSPL : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeSPL, AcceptsOnlyTheExactVersionAndNeverTurnsUseSPLOn) {
    ReceiverState state;
    state.UseSPL = true;
    state.SPLAvailable = !GetParam().available;
    std::vector<std::string> askedFor;
    const Nerix::FileVersionReader reader = [&](const std::string& path) {
        askedFor.push_back(path);
        return GetParam().version;
    };
    EXPECT_EQ(Nerix::ProbeSPL(state, reader, NERIX_TEST_NSP_LIB), 0);
    EXPECT_EQ(state.SPLAvailable, GetParam().available);
    EXPECT_FALSE(state.UseSPL);
    ASSERT_FALSE(askedFor.empty());
    EXPECT_EQ(askedFor.front(), std::filesystem::absolute(NERIX_TEST_NSP_LIB).string());
}

INSTANTIATE_TEST_SUITE_P(Versions, ProbeSPL,
                         ::testing::Values(ProbeCase{"Exact", "4, 5, 2, 2", true},
                                           ProbeCase{"Dots", "4.5.2.2", false},
                                           ProbeCase{"OtherLastNumber", "4, 5, 2, 3", false},
                                           ProbeCase{"TrailingBlank", "4, 5, 2, 2 ", false},
                                           ProbeCase{"LeadingBlank", " 4, 5, 2, 2", false},
                                           ProbeCase{"NoVersionRecord", std::nullopt, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProbeSPLWithoutLibrary, LeavesSPLUnavailableAndAsksForNoVersion) {
    ReceiverState state;
    state.SPLAvailable = true;
    int asked = 0;
    const Nerix::FileVersionReader reader = [&](const std::string&) -> std::optional<std::string> {
        ++asked;
        return "4, 5, 2, 2";
    };
    EXPECT_EQ(Nerix::ProbeSPL(state, reader, "/nonexistent/libnsp.so"), 0);
    EXPECT_FALSE(state.SPLAvailable);
    EXPECT_EQ(asked, 0);

    std::string fullPath = "unchanged";
    EXPECT_FALSE(GetDLLVer::GetDLLVersion("libnsp-not-installed.so", fullPath, reader));
    EXPECT_EQ(fullPath, "unchanged");
}

} // namespace

TEST(ProbeSPLOnOurLibrary, FindsTheVersionRecordBuiltIntoIt) {
    ReceiverState state;
    EXPECT_EQ(Nerix::ProbeSPL(state, Nerix::versionRecordReader(), NERIX_TEST_NSP_LIB), 0);
    EXPECT_TRUE(state.SPLAvailable);
    EXPECT_FALSE(state.UseSPL);

    // A library without a record is refused by the same reader.
    EXPECT_FALSE(Nerix::versionRecordReader()(NERIX_TEST_NERIX_LIB).has_value());
}
