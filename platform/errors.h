// The program's error types. Errors are exceptions; one that leaves an event
// handler reaches the general error handler, which shows its message.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tovo {

// Every error the user can see: what was being done, the path it was done on
// (empty where there is none), the system error code, and the message shown
// to the user as it stands.
class Error : public std::runtime_error {
 public:
  Error(std::string_view operation, std::string_view path, unsigned long code,
        const std::string& message);

  const std::string& operation() const { return operation_; }
  const std::string& path() const { return path_; }
  unsigned long code() const { return code_; }

 private:
  std::string operation_;
  std::string path_;
  unsigned long code_;
};

// An input/output error. Its message comes from the classic run-time table
// ("File access denied" for 5, "I/O error 87" for a code the table does not
// name) unless it carries one of its own.
class IoError : public Error {
 public:
  IoError(std::string_view operation, std::string_view path, unsigned long code);
  IoError(std::string_view operation, std::string_view path, unsigned long code,
          const std::string& message);
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
