// The run-time error's texts, and statements skipped on failure with and without a trace.
#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/runtime/Hooks.h"
#include "platform/runtime/RuntimeError.h"

using namespace runtime;

namespace {

// The trace lines written while it lives.
struct Trace {
    std::vector<std::string> lines;
    ScopedHooks hooks{Hooks{{}, [this](const std::string& l) { lines.push_back(l); }, {}}};
};

} // namespace

TEST(ResumeNext, SkipsAFailingStatementAndReportsIt) {
    int after = 0;
    EXPECT_FALSE(resumeNext([] { raise(err::kOverflow, "test"); }));
    EXPECT_TRUE(resumeNext([&] { after = 1; }));
    EXPECT_EQ(after, 1);
}

TEST(ResumeNext, ASkipUnderALogLeavesOneLineAndKeepsItsError) {
    const struct {
        const char* name;
        std::function<void()> statement;
        int32_t number;
        const char* description;
    } cases[] = {
        {"run-time error", [] { raise(err::kObjectNotSet, "Vfo"); }, 91,
         "Object variable or With block variable not set"},
        {"own description", [] { raise(err::kFileNotFound, "x", "File not found: a.thm"); }, 53,
         "File not found: a.thm"},
        {"out of memory", [] { throw std::bad_alloc(); }, 7, "Out of memory"},
        {"other exception", [] { throw std::out_of_range("vector::at"); }, 5, "vector::at"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Trace trace;
        SkipLog log("frmConfig.cmdApply_Click");
        EXPECT_EQ(log.lastError().Number, 0);
        EXPECT_EQ(log.lastError().Description, "");
        EXPECT_FALSE(resumeNext(c.statement, log, "Vfo.Refresh"));
        EXPECT_EQ(trace.lines,
                  std::vector<std::string>{"frmConfig.cmdApply_Click: Vfo.Refresh skipped: Code=" +
                                           std::to_string(c.number) + " Description=" + c.description});
        EXPECT_EQ(log.lastError().Number, c.number);
        EXPECT_EQ(log.lastError().Description, c.description);

        // A statement that completes writes nothing and keeps the error the last skip left.
        int ran = 0;
        EXPECT_TRUE(resumeNext([&] { ++ran; }, log, "Vfo.AutoUpdate"));
        EXPECT_EQ(ran, 1);
        EXPECT_EQ(trace.lines.size(), 1u);
        EXPECT_EQ(log.lastError().Number, c.number);
    }
}

TEST(ResumeNext, AStatementLeftOutLeavesALineButNoError) {
    Trace trace;
    SkipLog log("frmConfig.cmdApply_Click");
    log.leftOut("SoundCard devices", "there is no sound engine");
    EXPECT_EQ(trace.lines,
              std::vector<std::string>{
                  "frmConfig.cmdApply_Click: SoundCard devices left out: there is no sound engine"});
    EXPECT_EQ(log.lastError().Number, 0);
}

TEST(RuntimeErrorText, TakesTheStandardDescriptionUnlessGivenOne) {
    const RuntimeError standard(err::kDivisionByZero, "src");
    EXPECT_EQ(standard.Description(), "Division by zero");
    EXPECT_EQ(standard.Source(), "src");
    const RuntimeError own(err::kFileNotFound, "src", "File not found: x.so");
    EXPECT_EQ(own.Description(), "File not found: x.so");
    EXPECT_STREQ(own.what(), "File not found: x.so");
}
