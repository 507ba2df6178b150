#pragma once
// Errors that end a command. A command does not catch them; the event that ran
// the command reports them in the application's error box (see Events.h).
#include <cstdint>
#include <exception>
#include <string>

namespace platform {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// An operating-system call failed; code is the system's error code.
class EOSError : public Exception {
public:
    EOSError(uint32_t code, std::string message) : Exception(std::move(message)), code_(code) {}
    uint32_t code() const { return code_; }

private:
    uint32_t code_;
};

} // namespace platform
