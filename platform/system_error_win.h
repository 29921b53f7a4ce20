// System error texts and the exception that carries a failed call's code.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/errors.h"

namespace tovo {

// The system's own text for an error code, in UTF-8, without the trailing
// line break FormatMessage leaves; "error N" when the system has no text.
std::string SystemErrorText(DWORD code);

// A Win32 call that failed, with the system's text for its code in the
// message. Capture GetLastError() right after the call, before any
// destructor runs.
class SystemError : public Error {
 public:
  SystemError(std::string_view what, std::string_view path, DWORD code);
};

// True when the program runs under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();

}  // namespace tovo
