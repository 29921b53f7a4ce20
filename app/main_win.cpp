// The program's entry: one instance per session (a later start hands its
// arguments over and ends), the application object, the four windows in
// their order (only the main window is shown), the arguments given on the
// command line (files dropped on the program's icon or sent to a shortcut of
// it, Explorer's menu entries), the message loop.
#include <windows.h>

#include <ole2.h>

#include "app/application_win.h"
#include "app/form_vazo_win.h"
#include "app/frm_about_win.h"
#include "app/outside_paths_win.h"
#include "app/single_instance_win.h"
#include "platform/error_handler_win.h"
#include "platform/file_system_win.h"
#include "platform/scope_exit.h"
#include "progress/frm_message_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  try {
    // Before anything changes it: the file list makes the folder it shows
    // the current one, and relative paths given to the program mean the
    // folder it was started in.
    const std::string startFolder = tovo::CurrentFolder();
    const std::vector<std::string> arguments = tovo::CommandLinePaths();
    const tovo::SingleInstance instance(arguments, startFolder);
    if (instance.HandedOver()) return 0;
    // Drag-and-drop needs the window thread in a single-threaded apartment;
    // without it only WM_DROPFILES reaches the window.
    const bool ole = SUCCEEDED(OleInitialize(nullptr));
    const auto oleEnd = tovo::OnScopeExit([ole] {
      if (ole) OleUninitialize();
    });
    tovo::Application application;
    application.Initialize();
    tovo::Tform_vazo mainWindow;
    mainWindow.Create();
    tovo::SetErrorBoxOwner(mainWindow.hwnd());
    tovo::Tfrm_about about;
    about.Create(mainWindow.hwnd());
    tovo::StartupProgressWindows progress;
    mainWindow.Show();
    mainWindow.OfferStart(startFolder, arguments);
    const int exitCode = application.Run(
        mainWindow.hwnd(), [&](const MSG& msg) { return mainWindow.PreTranslate(msg); });
    tovo::SetErrorBoxOwner(nullptr);
    return exitCode;
  } catch (...) {
    tovo::ReportException(std::current_exception());
    return 1;
  }
}
