// Writing a whole buffer to a file descriptor.
#pragma once

#include <cstddef>

namespace REZ {

// Writes all size bytes of data to fd, going on after short and interrupted
// writes. False when a write fails; errno then tells why (EIO when the system
// took nothing without saying why).
bool WriteAll(int fd, const void* data, std::size_t size);

}  // namespace REZ
