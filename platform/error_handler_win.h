// The application's general error handler: an exception that leaves an event
// handler is shown in a message box (the message with its period, titled with
// the application title, OK button, error icon) and the program goes on.
#pragma once

#include <windows.h>

#include <exception>
#include <string>

namespace tovo {

// The window that owns the error boxes (the main window once it exists).
void SetErrorBoxOwner(HWND owner);

// Shows the box for a caught exception; unknown exceptions get a generic text.
void ReportException(std::exception_ptr error);

// The title of the error boxes, from this executable's file name.
std::string ApplicationTitleOfProcess();

}  // namespace tovo
