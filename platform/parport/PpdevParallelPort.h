// The real parallel backend: a port address is mapped to the kernel's parport device whose base address
// it is, and each write goes through ppdev (claim once, then PPWDATA).
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/parport/ParallelPort.h"

namespace parport {

// The parport number whose base address is address, from <root>/parport<N>/base-addr (the first of its
// numbers, decimal); nothing when no port has it.
std::optional<int> parportForAddress(uint16_t address, const std::string& root);

class PpdevParallelPort final : public ParallelPort {
public:
    struct Options {
        std::string sysRoot = "/proc/sys/dev/parport"; // where the kernel lists the ports
        std::string devRoot = "/dev";                  // where their ppdev nodes are
    };
    PpdevParallelPort() : PpdevParallelPort(Options{}) {}
    explicit PpdevParallelPort(Options options) : options_(std::move(options)) {}
    ~PpdevParallelPort() override;
    PpdevParallelPort(const PpdevParallelPort&) = delete;
    PpdevParallelPort& operator=(const PpdevParallelPort&) = delete;

    // A port that cannot be found, opened or claimed raises at this call (53 none at that address,
    // 70 no permission, 57 the device refused); the next call tries again.
    void Out32(uint16_t address, uint16_t value) override;

private:
    int deviceFor(uint16_t address);

    Options options_;
    std::map<uint16_t, int> open_; // address -> claimed descriptor
};

} // namespace parport
