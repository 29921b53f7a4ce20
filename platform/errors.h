// The program's error types. Errors are exceptions; one that leaves an event
// handler reaches the general error handler, which shows its message.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tovo {

// An error whose message is shown to the user as it stands.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An input/output error. Built from a system code, its message comes from the
// classic run-time table ("File access denied" for 5, "I/O error 87" for a
// code the table does not name); it can also carry a message of its own.
class IoError : public Error {
 public:
  explicit IoError(unsigned long code);
  IoError(unsigned long code, const std::string& message);

  unsigned long code() const { return code_; }

 private:
  unsigned long code_;
};

// The message of the run-time table for a system error code.
std::string IoErrorMessage(unsigned long code);

// The message box text for an error: a period is appended unless the message
// is empty or already ends in a period or a character of lower code.
std::string MessageWithPeriod(std::string_view message);

// The application title: the executable's file name without its folder, cut
// at its first period, every character after the first in lower case.
// "C:\\x\\TovoShred.exe" gives "Tovoshred".
std::string ApplicationTitle(std::string_view exePath);

}  // namespace tovo
