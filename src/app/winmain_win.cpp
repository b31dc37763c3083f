// The program's entry: single-instance guard, theme, application object, the main
// controller, the message loop, and the orderly way out.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "app/app_texts.h"
#include "app/application_win.h"
#include "app/main_form_win.h"
#include "app/startup_win.h"
#include "platform/single_instance_win.h"
#include "platform/text_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace vn;

    SingleInstanceGuard guard(W(kInstanceMutexName));
    if (guard.AnotherInstanceRuns()) {
        // The running instance is left alone: no signal, nothing brought to the front.
        ReportAlreadyRunning();
        guard.Release();
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // Single-threaded apartment: the common file dialogs and the rich-text
    // control's clipboard and drag-and-drop need it.
    HRESULT ole = OleInitialize(nullptr);

    ApplyProgramTheme();

    int exitCode = 0;
    {
        Application application;
        TheApplication = &application;
        application.SetTitle(kApplicationTitle);
        TFMain main(application);
        // The guard goes as soon as the final save is written, not after the rest of
        // the teardown: a start right after Quit finds the store complete and runs.
        main.SetFinalSaveDone([&guard] { guard.Release(); });
        try {
            application.Initialize();
            main.Create();
            // The controller's creation also makes the export and import dialogs,
            // once; they live until exit.
        } catch (...) {
            // Without its windows (no desktop to create them on) the program could
            // only linger invisibly: it ends and says so by its exit code.
            exitCode = 1;
        }

        if (exitCode == 0) application.Run();

        // The final save runs in the controller's shutdown, and the guard is released
        // only after it, so a new instance never reads a store being rewritten.
        main.Destroy();
        TheApplication = nullptr;
    }

    if (SUCCEEDED(ole)) {
        // Text copied from a note is an object of this process on the clipboard:
        // render it now, so that other programs can still paste it once the process
        // is gone. Without an object of ours on the clipboard this does nothing.
        OleFlushClipboard();
        OleUninitialize();
    }
    guard.Release();
    return exitCode;
}
