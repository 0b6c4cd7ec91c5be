// The ppdev parallel backend.
#include "platform/parport/PpdevParallelPort.h"

#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>

#include "platform/runtime/RuntimeError.h"

namespace parport {

std::optional<int> parportForAddress(uint16_t address, const std::string& root) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(root, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("parport", 0) != 0) continue;
        const std::string digits = name.substr(7);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream file(entry.path() / "base-addr");
        long base = -1;
        int number = 0;
        const auto [end, ec2] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (file >> base && base == address && ec2 == std::errc() && end == digits.data() + digits.size())
            return number;
    }
    return std::nullopt;
}

PpdevParallelPort::~PpdevParallelPort() {
    for (const auto& [address, fd] : open_) {
        ::ioctl(fd, PPRELEASE);
        ::close(fd);
    }
}

int PpdevParallelPort::deviceFor(uint16_t address) {
    if (const auto it = open_.find(address); it != open_.end()) return it->second;
    const std::optional<int> number = parportForAddress(address, options_.sysRoot);
    if (!number) runtime::raise(runtime::err::kFileNotFound, "Out32");
    const std::string path = options_.devRoot + "/parport" + std::to_string(*number);
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        runtime::raise(error == EACCES || error == EPERM ? runtime::err::kPermissionDenied
                                                         : runtime::err::kFileNotFound,
                       "Out32");
    }
    if (::ioctl(fd, PPCLAIM) != 0) {
        ::close(fd);
        runtime::raise(runtime::err::kDeviceIo, "Out32");
    }
    open_.emplace(address, fd);
    return fd;
}

void PpdevParallelPort::Out32(uint16_t address, uint16_t value) {
    const int fd = deviceFor(address);
    unsigned char byte = static_cast<unsigned char>(value & 0xFF);
    if (::ioctl(fd, PPWDATA, &byte) != 0) runtime::raise(runtime::err::kDeviceIo, "Out32");
}

} // namespace parport
