// The program's binder of the rig bridge: the six calls through the real bridge, and its load errors.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/runtime/RuntimeError.h"
#include "radio/RigBridge.h"

namespace fs = std::filesystem;
using runtime::RuntimeError;

namespace {

constexpr int32_t kDummyRig = 1;

int32_t loadErrorOf(RigBridge& bridge) {
    try {
        bridge.rig_set_debug(0);
    } catch (const RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

// The file the loader takes for Hamlib's library on this system.
std::string installedHamlib() {
    void* handle = dlopen(rigbridge::kHamlibFile, RTLD_NOW | RTLD_LOCAL);
    if (!handle) return {};
    link_map* map = nullptr;
    std::string path;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map) path = map->l_name;
    dlclose(handle);
    return path;
}

class RigBridgeLibraryFolder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string name = (fs::temp_directory_path() / "nerix-rigbridge-XXXXXX").string();
        ASSERT_NE(mkdtemp(name.data()), nullptr);
        folder = name;
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

TEST(RigBridgeLibrary, TheSixCallsTuneHamlibsDummyRig) {
    RigBridgeLibrary bridge(RIGBRIDGE_FILE);
    bridge.rig_set_debug(0);
    const int32_t rig = bridge.rig_init(kDummyRig);
    ASSERT_GT(rig, 0);
    EXPECT_EQ(bridge.rig_open(rig), rigbridge::kRigOk);
    EXPECT_EQ(bridge.rig_set_freq(rig, rigbridge::kRigVfoCurr, 7000000.0), rigbridge::kRigOk);
    EXPECT_EQ(bridge.rig_close(rig), rigbridge::kRigOk);
    EXPECT_EQ(bridge.rig_cleanup(rig), rigbridge::kRigOk);
    // With the rig gone its id is refused, not passed on.
    EXPECT_EQ(bridge.rig_open(rig), rigbridge::kRigEInval);
}

TEST_F(RigBridgeLibraryFolder, AMissingBridgeRaisesFileNotFoundUntilItIsThere) {
    const fs::path bridgeFile = folder / rigbridge::kBridgeFile;
    RigBridgeLibrary bridge(bridgeFile.string());
    EXPECT_EQ(loadErrorOf(bridge), runtime::err::kFileNotFound);
    EXPECT_EQ(loadErrorOf(bridge), runtime::err::kFileNotFound);

    fs::create_symlink(RIGBRIDGE_FILE, bridgeFile);
    EXPECT_EQ(loadErrorOf(bridge), 0);
    EXPECT_EQ(bridge.rig_init(0), 0) << "no rig for model 0, and no error";
}

TEST_F(RigBridgeLibraryFolder, AHamlibThatDoesNotLoadRaisesTheBridgesLoadErrorAtEachCallUntilItLoads) {
    const fs::path hamlibFile = folder / rigbridge::kHamlibFile;
    RigBridgeLibrary bridge(RIGBRIDGE_FILE, hamlibFile.string());
    // Missing first, then a file that is no library.
    EXPECT_EQ(loadErrorOf(bridge), runtime::err::kDllLoad);
    fs::copy_file("/proc/self/cmdline", hamlibFile);
    try {
        bridge.rig_init(kDummyRig);
        ADD_FAILURE() << "rig_init went ahead without Hamlib";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.Number(), runtime::err::kDllLoad);
        EXPECT_NE(e.Description().find(rigbridge::kBridgeFile), std::string::npos) << e.Description();
    }

    const std::string hamlib = installedHamlib();
    ASSERT_FALSE(hamlib.empty());
    fs::remove(hamlibFile);
    fs::create_symlink(hamlib, hamlibFile);
    const int32_t rig = bridge.rig_init(kDummyRig);
    EXPECT_GT(rig, 0);
    EXPECT_EQ(bridge.rig_cleanup(rig), rigbridge::kRigOk);
}

} // namespace
