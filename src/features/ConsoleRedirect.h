#pragma once
// Runs a console program hidden and captures what it writes. The window stays
// responsive throughout: pending window messages are handled before every
// read, and while the program is silent or runs on after closing its output,
// the wait wakes for them too.
#include <functional>
#include <string>

#include "platform/Processes.h"
#include "platform/Toolkit.h"

// What a console program wrote: its standard output and its standard error.
struct CapturedOutput {
    std::string output;
    std::string errors;
};

// Writes the input text and one character of code 26 to the program, then
// collects its standard output and standard error until both end, and waits,
// without a time limit, for the program to end. Raises EOSError when the
// program cannot be started. A program that has ended while a program it
// started still holds the output pipes is given two more seconds, then the
// capture returns what it has. Once endRequested answers true (the program is
// ending), the program and everything it started are ended at once and the
// capture returns with the output it has.
CapturedOutput RunConsoleRedirect(platform::ProcessService& processes, platform::Toolkit& toolkit,
                                  const std::string& commandLine, const std::string& inputText,
                                  const std::function<bool()>& endRequested = nullptr);
