// Binding a library by name at first call: found, missing library, missing function.
#include <gtest/gtest.h>

#include "platform/runtime/DynamicLibrary.h"

using namespace runtime;

TEST(DynamicLibrary, BindsAFunctionAtFirstCall) {
    DynamicLibrary libm("libm.so.6");
    EXPECT_FALSE(libm.isLoaded());
    BoundFunction<double(double)> cosine(libm, "cos");
    EXPECT_DOUBLE_EQ(cosine(0.0), 1.0);
    EXPECT_TRUE(libm.isLoaded());
}

TEST(DynamicLibrary, MissingPiecesRaiseTheRuntimeErrors) {
    const struct {
        const char* library;
        const char* function;
        int32_t number;
    } cases[] = {{"libnerix-no-such-library.so", "f", err::kFileNotFound},
                 {"/no/such/folder/libx.so", "f", err::kFileNotFound},
                 {"libm.so.6", "no_such_function_anywhere", err::kDllEntryPoint}};
    for (const auto& c : cases) {
        DynamicLibrary lib(c.library);
        try {
            lib.symbol(c.function);
            ADD_FAILURE() << c.library;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), c.number) << c.library << " " << e.Description();
        }
    }
    EXPECT_FALSE(DynamicLibrary("libnerix-no-such-library.so").tryLoad());
}

TEST(DynamicLibrary, AFileThatIsNotALibraryFailsToLoad) {
    DynamicLibrary notElf("/proc/self/status");
    try {
        notElf.symbol("f");
        ADD_FAILURE();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), err::kDllLoad);
    }
}
