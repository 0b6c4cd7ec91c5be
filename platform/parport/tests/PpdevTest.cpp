// The ppdev backend without a parallel port: the address-to-device mapping and the errors raised.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/parport/PpdevParallelPort.h"
#include "platform/runtime/RuntimeError.h"

namespace {

class Tree : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/nerix_parport_XXXXXX";
        root = ::mkdtemp(pattern);
        std::filesystem::create_directories(root + "/sys/parport0");
        std::filesystem::create_directories(root + "/sys/parport1");
        std::filesystem::create_directories(root + "/sys/default");
        std::filesystem::create_directories(root + "/dev");
        std::ofstream(root + "/sys/parport0/base-addr") << "888\t1912\n";
        std::ofstream(root + "/sys/parport1/base-addr") << "55296\t-1\n";
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    int32_t errorOf(parport::ParallelPort& port, uint16_t address) {
        try {
            port.Out32(address, 0x55);
            return 0;
        } catch (const runtime::RuntimeError& e) {
            return e.Number();
        }
    }

    std::string root;
};

TEST_F(Tree, AnAddressLeadsToTheParportWhoseBaseItIs) {
    EXPECT_EQ(parport::parportForAddress(888, root + "/sys"), 0);
    EXPECT_EQ(parport::parportForAddress(0xD800, root + "/sys"), 1);
    EXPECT_EQ(parport::parportForAddress(632, root + "/sys"), std::nullopt);
    EXPECT_EQ(parport::parportForAddress(888, root + "/nowhere"), std::nullopt);
}

TEST_F(Tree, APortThatCannotBeReachedRaisesAtEveryCall) {
    parport::PpdevParallelPort port({.sysRoot = root + "/sys", .devRoot = root + "/dev"});
    // No port at that address.
    EXPECT_EQ(errorOf(port, 632), runtime::err::kFileNotFound);
    EXPECT_EQ(errorOf(port, 632), runtime::err::kFileNotFound);
    // A port listed but without its device node.
    EXPECT_EQ(errorOf(port, 888), runtime::err::kFileNotFound);
    // A node that is no parport device refuses the claim.
    std::ofstream(root + "/dev/parport0") << "";
    EXPECT_EQ(errorOf(port, 888), runtime::err::kDeviceIo);
    EXPECT_EQ(errorOf(port, 888), runtime::err::kDeviceIo);
}

} // namespace
